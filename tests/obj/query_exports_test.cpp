#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "built_models.h"
#include "frame/call_frame.h"
#include "obj/current_model.h"
#include "support/export_work.h"

namespace tollgram::obj {
namespace {

using test::addFace;
using test::addVertices;
using test::faceOf;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CallFrame frameOf(const char* text, double value = 0.0, char* buffer = nullptr, int32_t bufferSize = 0) {
    return CallFrame{text, value, buffer, bufferSize, 0, 0, nullptr};
}

// Two groups: "head" on vertices 10..19 and 30, "tail" on 0..2; smoothing
// groups 7, 0xFFFFFFFF and 12 in that order.
class QueryExports : public ::testing::Test {
protected:
    void SetUp() override {
        addVertices(*model, 31);
        addFace(*model, faceOf({10, 11, 12, 13, 14, 15, 16, 17}), {"head"});
        addFace(*model, faceOf({18, 19, 30}), {"head"});
        addFace(*model, faceOf({0, 1, 2}), {"tail"});
        test::registerSmoothingGroup(*model, 7);
        test::registerSmoothingGroup(*model, 0xFFFFFFFFu);
        test::registerSmoothingGroup(*model, 12);
    }
    test::CurrentModel model;
};

TEST_F(QueryExports, InfoAnswersOnlyItsExactKeys) {
    struct Case {
        const char* key;
        float result;
    };
    const Case cases[] = {
        {"vertexCount", 31.0f}, {"faceCount", 3.0f}, {"groupCount", 2.0f}, {"smoothGroupCount", 3.0f},
        {"VertexCount", 0.0f},  {"vertexcount", 0.0f}, {"faceCount ", 0.0f}, {"face", 0.0f}, {"", 0.0f},
        {nullptr, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::GetOBJInfo, frameOf(c.key)), c.result) << (c.key ? c.key : "null key");
    }
}

// On x87 a float result comes back in a wider register, unrounded: a count of
// 4294967295 is compared as the float it becomes once stored, 4294967296.
float stored(float result) {
    volatile float memory = result;
    return memory;
}

TEST_F(QueryExports, CountsComeBackAsUnsigned) {
    model->_smoothingGroupCount = 0xFFFFFFFFu;  // not a read model's value, but a 32-bit count
    EXPECT_EQ(stored(tollgram::test::resultOfWork(&tollgram::exports::GetOBJInfo, frameOf("smoothGroupCount"))), 4294967296.0f);
    EXPECT_EQ(stored(tollgram::test::resultOfWork(&tollgram::exports::GetOBJSmoothGroupInfo, frameOf("count"))), 4294967296.0f);
    // Positions still stop at the table's end.
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::GetOBJSmoothGroupInfo, frameOf("value", 257.0)), -1.0f);
}

TEST_F(QueryExports, GroupInfoChecksItsArgumentsInOrder) {
    char buffer[16];
    struct Case {
        const char* name;
        const char* key;
        double value;
        bool withBuffer;
        float result;
    };
    const Case cases[] = {
        {"group 1", "vertexCount", 1.0, true, 21.0f},
        {"1.9 is group 1", "vertexCount", 1.9, true, 21.0f},
        {"group 2", "vertexCount", 2.0, true, 3.0f},
        {"2.99 is group 2", "vertexCount", 2.99, false, 3.0f},
        {"0.5", "vertexCount", 0.5, true, -1.0f},
        {"0", "vertexCount", 0.0, true, -1.0f},
        {"-1", "vertexCount", -1.0, true, -1.0f},
        {"NaN", "vertexCount", kNaN, true, -1.0f},
        {"infinity", "vertexCount", std::numeric_limits<double>::infinity(), true, -1.0f},
        {"4294967297 wraps to nothing", "vertexCount", 4294967297.0, true, -1.0f},
        {"group count + 1", "vertexCount", 3.0, true, -1.0f},
        {"unknown key", "Name", 1.0, true, -1.0f},
        {"null key", nullptr, 1.0, true, -1.0f},
        {"null buffer for a name", "name", 1.0, false, -2.0f},
        {"null buffer, bad number first", "name", 3.0, false, -1.0f},
        {"null buffer, bad value first", "name", 0.0, false, -1.0f},
        {"null buffer, null key first", nullptr, 1.0, false, -1.0f},
    };
    for (const Case& c : cases) {
        const float result = tollgram::test::resultOfWork(&tollgram::exports::GetOBJGroupInfo, frameOf(c.key, c.value, c.withBuffer ? buffer : nullptr, 16));
        EXPECT_EQ(result, c.result) << c.name;
    }
}

TEST_F(QueryExports, GroupNameIsABoundedCopy) {
    struct Case {
        const char* name;
        double group;
        int32_t bufferSize;
        float result;
        const char* text;
    };
    const Case cases[] = {
        {"room to spare", 1.0, 16, 0.0f, "head"},
        {"exactly the name and its terminator", 2.0, 5, 0.0f, "tail"},
        {"no room for the terminator", 1.0, 4, 34.0f, ""},
        {"one byte", 2.0, 1, 34.0f, ""},
        {"no room at all", 1.0, 0, 22.0f, "x"},
        {"negative size", 1.0, -5, 22.0f, "x"},
    };
    for (const Case& c : cases) {
        char buffer[16] = "x";
        EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::GetOBJGroupInfo, frameOf("name", c.group, buffer, c.bufferSize)), c.result) << c.name;
        EXPECT_STREQ(buffer, c.text) << c.name;
    }
}

TEST_F(QueryExports, SmoothGroupInfoGivesCountAndStoredNumbers) {
    struct Case {
        const char* name;
        const char* key;
        double value;
        float result;
    };
    const Case cases[] = {
        {"count ignores value", "count", kNaN, 3.0f},
        {"count with 0", "count", 0.0, 3.0f},
        {"count with -5", "count", -5.0, 3.0f},
        {"first number", "value", 1.0, 7.0f},
        {"all bits set", "value", 2.5, 4294967296.0f},
        {"the last number", "value", 3.0, 12.0f},
        {"count + 1", "value", 4.0, -1.0f},
        {"0.9", "value", 0.9, -1.0f},
        {"NaN", "value", kNaN, -1.0f},
        {"unknown key", "Count", 1.0, -1.0f},
        {"null key", nullptr, 1.0, -1.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stored(tollgram::test::resultOfWork(&tollgram::exports::GetOBJSmoothGroupInfo, frameOf(c.key, c.value))), c.result) << c.name;
    }
}

TEST(QueryExportsWithoutModel, FailWithTheirOwnCodes) {
    ASSERT_EQ(obj::objState().currentModel, nullptr);
    char buffer[8] = "keep";
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::GetOBJInfo, frameOf("vertexCount")), 0.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::GetOBJGroupInfo, frameOf("name", 1.0, buffer, 8)), -1.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::GetOBJGroupInfo, frameOf("name", 1.0, nullptr, 8)), -1.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::GetOBJSmoothGroupInfo, frameOf("count")), -1.0f);
    EXPECT_STREQ(buffer, "keep");
}

}  // namespace
}  // namespace tollgram::obj
