#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
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
using test::contentOf;
using test::linesOf;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CallFrame frameOf(const char* text, double value) { return CallFrame{text, value, nullptr, 0, 0, 0, nullptr}; }

// Groups "first" (2 faces, smoothing group 12) and "second" (1 face,
// smoothing group 3); a third stored smoothing-group number, 40, has no
// faces. Each subset is recognised by the group line it writes.
class WriterExports : public ::testing::Test {
protected:
    void SetUp() override {
        addVertices(*model, 9);
        addFace(*model, faceOf({0, 1, 2}, -1, 12), {"first"});
        addFace(*model, faceOf({3, 4, 5}, -1, 3), {"second"});
        addFace(*model, faceOf({2, 1, 6}, -1, 12), {"first"});
        test::registerSmoothingGroup(*model, 12);
        test::registerSmoothingGroup(*model, 3);
        test::registerSmoothingGroup(*model, 40);
        std::ofstream(path, std::ios::binary) << "keep";
    }

    // What the file holds after a call: "whole", a group line's name, or the
    // untouched file.
    std::string written() const {
        const std::string bytes = contentOf(path);
        if (bytes == "keep") return "untouched";
        if (bytes.find(linesOf({"#Face Count 3"})) != std::string::npos) return "whole";
        const size_t line = bytes.find(std::string(platform::kLineEnd) + "g ");
        if (line == std::string::npos) return "no group line";
        const size_t start = line + platform::kLineEndLength + 2;
        return bytes.substr(start, bytes.find(platform::kLineEnd, start) - start);
    }

    test::CurrentModel model;
    test::TempFolder folder;
    std::string path = folder.at("out.obj");
};

struct Case {
    const char* name;
    double value;
    float result;
    const char* written;
};

TEST_F(WriterExports, GroupNumberSelectsWholeModelOrOneGroup) {
    const Case cases[] = {
        {"0 is the whole model", 0.0, 0.0f, "whole"},
        {"0.7 is the whole model", 0.7, 0.0f, "whole"},
        {"-0.5 is the whole model", -0.5, 0.0f, "whole"},
        {"1.9 is group 1", 1.9, 0.0f, "first"},
        {"2 is group 2", 2.0, 0.0f, "second"},
        {"group count + 1", 3.0, -1.0f, "untouched"},
        {"-1 is a huge number", -1.0, -1.0f, "untouched"},
        {"-7.5", -7.5, -1.0f, "untouched"},
        {"NaN", kNaN, -1.0f, "untouched"},
        {"2^32 + 1", 4294967297.0, -1.0f, "untouched"},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary) << "keep";
        EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJGroup, frameOf(path.c_str(), c.value)), c.result) << c.name;
        EXPECT_EQ(written(), c.written) << c.name;
    }
}

TEST_F(WriterExports, SmoothGroupPositionSelectsTheStoredNumber) {
    const Case cases[] = {
        {"position 1", 1.0, 0.0f, "12"},
        {"2.5 is position 2", 2.5, 0.0f, "3"},
        {"a number without faces", 3.0, -1.0f, "untouched"},
        {"count + 1", 4.0, -1.0f, "untouched"},
        {"0.5", 0.5, -1.0f, "untouched"},
        {"0", 0.0, -1.0f, "untouched"},
        {"-1", -1.0, -1.0f, "untouched"},
        {"NaN", kNaN, -1.0f, "untouched"},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary) << "keep";
        EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJSmoothGroup, frameOf(path.c_str(), c.value)), c.result) << c.name;
        EXPECT_EQ(written(), c.written) << c.name;
    }
}

TEST_F(WriterExports, FailWithoutAPathOrAWritableFile) {
    const std::string unwritable = folder.at("no such folder/out.obj");
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJGroup, frameOf(nullptr, 0.0)), -1.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJGroup, frameOf("", 0.0)), -1.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJGroup, frameOf(unwritable.c_str(), 1.0)), -1.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJSmoothGroup, frameOf(nullptr, 1.0)), -1.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJSmoothGroup, frameOf(unwritable.c_str(), 1.0)), -1.0f);
    EXPECT_FALSE(std::filesystem::exists(unwritable));
}

TEST(WriterExportsWithoutModel, FailAndWriteNothing) {
    ASSERT_EQ(obj::objState().currentModel, nullptr);
    test::TempFolder folder;
    const std::string path = folder.at("out.obj");
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJGroup, frameOf(path.c_str(), 0.0)), -1.0f);
    EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::ExportOBJSmoothGroup, frameOf(path.c_str(), 1.0)), -1.0f);
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace tollgram::obj
