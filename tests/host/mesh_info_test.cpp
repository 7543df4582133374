#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "support/module_reset.h"
#include "host/host_call.h"
#include "host/host_state.h"
#include "substitute_host/substitute_host.h"

namespace tollgram {
namespace {

using substitute::SubstituteHost;
using test::call;

class MeshInfo : public ::testing::Test {
protected:
    void SetUp() override {
        resetModuleState();
        host.setMesh(8, 5);
        host.setGroupNames({"head", "torso", "left arm"});
        host.setImportScale(2.0f, 3.0f, 4.0f);
        host.setImportOffset(-1.5f, 0.25f, 100.0f);
    }
    void TearDown() override { resetModuleState(); }
    SubstituteHost host;
};

TEST_F(MeshInfo, GetterKeys) {
    struct Case {
        const char* key;
        float expected;
    };
    const Case cases[] = {
        {"groupCount", 3.0f},     {"importScaleX", 2.0f},   {"importScaleY", 3.0f},   {"importScaleZ", 4.0f},
        {"importOffsetX", -1.5f}, {"importOffsetY", 0.25f}, {"importOffsetZ", 100.0f}, {"maskValue", -1.0f},
        {"smoothAll", -1.0f},     {"GroupCount", -1.0f},    {"groupCount ", -1.0f},   {"", -1.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(call(GetMesh3DInfo, c.key, 0.0, host.context()), c.expected) << c.key;
    }
}

TEST_F(MeshInfo, GroupNameByTruncatedIndex) {
    struct Case {
        double value;
        int32_t bufferSize;
        float result;
        const char* text;  // the buffer afterwards
    };
    const Case cases[] = {
        {0.0, 16, 0.0f, "head"},     {1.9, 16, 0.0f, "torso"},     {2.0, 16, 0.0f, "left arm"},
        {-0.7, 16, 0.0f, "head"},    {3.0, 16, -1.0f, "unchanged"}, {-1.0, 16, -1.0f, "unchanged"},
        {std::nan(""), 16, -1.0f, "unchanged"}, {1e12, 16, -1.0f, "unchanged"},
        {1.0, 5, 34.0f, ""},         {1.0, 6, 0.0f, "torso"},       {1.0, 0, 22.0f, "unchanged"},
        {1.0, -4, 22.0f, "unchanged"},
    };
    for (const Case& c : cases) {
        char buffer[16] = "unchanged";
        EXPECT_EQ(call(GetMesh3DInfo, "groupName", c.value, host.context(), buffer, c.bufferSize), c.result)
            << c.value << " in " << c.bufferSize;
        EXPECT_STREQ(buffer, c.text) << c.value << " in " << c.bufferSize;
    }
    EXPECT_EQ(call(GetMesh3DInfo, "groupName", 0.0, host.context(), nullptr, 16), -1.0f);
}

TEST_F(MeshInfo, GroupNamesUseTheArraysElementSize) {
    host.setGroupNames({"a", "bb", "ccc", "dddd"}, 3);  // "ccc" and "dddd" cut to two bytes
    const std::vector<std::string> expected = {"a", "bb", "cc", "dd"};
    for (size_t i = 0; i < expected.size(); ++i) {
        char buffer[8] = {};
        EXPECT_EQ(call(GetMesh3DInfo, "groupName", double(i), host.context(), buffer, 8), 0.0f) << i;
        EXPECT_EQ(std::string(buffer), expected[i]) << i;
    }
}

// An entry the host filled to its last byte has no terminator of its own;
// the name stops at the entry's end instead of running into the next one.
TEST_F(MeshInfo, AnUnterminatedGroupNameEndsWithItsEntry) {
    uint8_t* array = host.setGroupNames({"x", "y"}, 4);
    std::memcpy(SubstituteHost::elementsOf(array), "abcdefg", 8);  // entry 0 "abcd", entry 1 "efg"
    char buffer[16] = {};
    EXPECT_EQ(call(GetMesh3DInfo, "groupName", 0.0, host.context(), buffer, 16), 0.0f);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(call(GetMesh3DInfo, "groupName", 1.0, host.context(), buffer, 16), 0.0f);
    EXPECT_STREQ(buffer, "efg");
}

TEST_F(MeshInfo, MissingRecordsAndArrays) {
    char buffer[16] = "unchanged";
    SubstituteHost bare;  // a context without a mesh record
    EXPECT_EQ(call(GetMesh3DInfo, "importScaleX", 0.0, bare.context()), -1.0f);
    EXPECT_EQ(call(SetMesh3DInfo, "importScaleX", 5.0, bare.context()), -1.0f);
    EXPECT_EQ(call(SetMesh3DInfo, "maskValue", 5.0, bare.context()), -1.0f);
    EXPECT_EQ(call(GetMesh3DInfo, "groupCount", 0.0, nullptr), -1.0f);
    EXPECT_EQ(call(GetMesh3DInfo, nullptr, 0.0, host.context()), -1.0f);
    EXPECT_EQ(call(SetMesh3DInfo, nullptr, 0.0, host.context()), -1.0f);
    EXPECT_EQ(host::hostState().maskValue, 0);

    uint8_t* names = host.setGroupNames({"only"});
    SubstituteHost::set32(host::pointerAt(names, host::host_array::kBuffer), host::buffer_record::kElements, 0);
    EXPECT_EQ(call(GetMesh3DInfo, "groupName", 0.0, host.context(), buffer, 16), -1.0f) << "no entry address";
    SubstituteHost::set32(names, host::host_array::kBuffer, 0);
    EXPECT_EQ(call(GetMesh3DInfo, "groupName", 0.0, host.context(), buffer, 16), -1.0f) << "no buffer record";
    EXPECT_EQ(call(GetMesh3DInfo, "groupCount", 0.0, host.context()), 1.0f) << "the count needs no buffer";
    SubstituteHost::set32(host.meshRecord(), host::mesh::kGroupNames, 0);
    EXPECT_EQ(call(GetMesh3DInfo, "groupCount", 0.0, host.context()), -1.0f) << "no array is not 0 groups";
    EXPECT_EQ(call(GetMesh3DInfo, "groupName", 0.0, host.context(), buffer, 16), -1.0f) << "no array";
    EXPECT_STREQ(buffer, "unchanged");
}

TEST_F(MeshInfo, MaskValueKeepsTheLowByteOfTheTruncatedValue) {
    struct Case {
        double value;
        uint8_t stored;
    };
    const Case cases[] = {{300.0, 44}, {-1.0, 255}, {0.99, 0}, {255.9, 255}, {256.0, 0}, {7.0, 7}, {-256.5, 0}};
    for (const Case& c : cases) {
        host::hostState().maskValue = 99;
        EXPECT_EQ(call(SetMesh3DInfo, "maskValue", c.value, host.context()), 0.0f) << c.value;
        EXPECT_EQ(host::hostState().maskValue, c.stored) << c.value;
    }
}

TEST_F(MeshInfo, SetterKeysStoreTheNearestFloat) {
    struct Case {
        const char* key;
        int axis;
        bool scale;
    };
    const Case cases[] = {{"importScaleX", 0, true},   {"importScaleY", 1, true},   {"importScaleZ", 2, true},
                          {"importOffsetX", 0, false}, {"importOffsetY", 1, false}, {"importOffsetZ", 2, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(call(SetMesh3DInfo, c.key, 0.1, host.context()), 0.0f) << c.key;
        const float stored = c.scale ? host.importScale(c.axis) : host.importOffset(c.axis);
        EXPECT_EQ(test::bitsOf(stored), 0x3DCCCCCDu) << c.key;
        EXPECT_EQ(test::bitsOf(call(GetMesh3DInfo, c.key, 0.0, host.context())), 0x3DCCCCCDu) << c.key;
        EXPECT_NE(double(call(GetMesh3DInfo, c.key, 0.0, host.context())), 0.1) << c.key;
    }
    // The other five fields stay as they were.
    EXPECT_EQ(call(SetMesh3DInfo, "importOffsetY", 1e300, host.context()), 0.0f);
    EXPECT_EQ(host.importOffset(1), std::numeric_limits<float>::infinity());
    EXPECT_EQ(test::bitsOf(host.importOffset(0)), 0x3DCCCCCDu);
    EXPECT_EQ(test::bitsOf(host.importOffset(2)), 0x3DCCCCCDu);
}

TEST_F(MeshInfo, SetterDoesNotKnowTheGetterOnlyKeys) {
    for (const char* key : {"groupCount", "groupName", "MaskValue", "importscalex", "smoothAll "}) {
        EXPECT_EQ(call(SetMesh3DInfo, key, 1.0, host.context()), -1.0f) << key;
    }
    EXPECT_EQ(host.importScale(0), 2.0f);
    EXPECT_EQ(host::hostState().maskValue, 0);
}

TEST_F(MeshInfo, SmoothAllClearsOnlyTheCreaseByte) {
    for (int32_t p = 0; p < 5; ++p) std::memset(host.polygonEntry(p), 0xA0 + p, 4);
    EXPECT_EQ(call(SetMesh3DInfo, "smoothAll", 0.0, host.context()), 5.0f);
    for (int32_t p = 0; p < 5; ++p) {
        const uint8_t* entry = host.polygonEntry(p);
        const uint8_t kept = static_cast<uint8_t>(0xA0 + p);
        EXPECT_EQ(entry[0], kept) << p;
        EXPECT_EQ(entry[1], kept) << p;
        EXPECT_EQ(entry[2], 0) << p;
        EXPECT_EQ(entry[3], kept) << p;
    }
}

TEST_F(MeshInfo, SmoothAllRefusesArraysItCannotUse) {
    host.setPolygonFlags(0);
    EXPECT_EQ(call(SetMesh3DInfo, "smoothAll", 0.0, host.context()), 0.0f) << "empty array";

    struct Case {
        const char* name;
        int32_t elementSize;
        int32_t count;
        bool dropElements;
        bool dropBuffer;
    };
    const Case cases[] = {
        {"element size 8", 8, 3, false, false}, {"element size 2", 2, 3, false, false},
        {"no entry address", 4, 3, true, false}, {"no buffer record", 4, 3, false, true},
        {"negative count", 4, -3, false, false},
    };
    for (const Case& c : cases) {
        uint8_t* array = host.setPolygonFlags(3, c.elementSize);
        uint8_t* entries = SubstituteHost::elementsOf(array);
        std::memset(entries, 0xFF, 3 * static_cast<size_t>(c.elementSize));
        SubstituteHost::set32(array, host::host_array::kCount, static_cast<uint32_t>(c.count));
        if (c.dropElements) SubstituteHost::set32(host::pointerAt(array, host::host_array::kBuffer), host::buffer_record::kElements, 0);
        if (c.dropBuffer) SubstituteHost::set32(array, host::host_array::kBuffer, 0);
        EXPECT_EQ(call(SetMesh3DInfo, "smoothAll", 0.0, host.context()), -1.0f) << c.name;
        for (size_t i = 0; i < 3 * static_cast<size_t>(c.elementSize); ++i) ASSERT_EQ(entries[i], 0xFF) << c.name;
    }
    SubstituteHost::set32(host.meshRecord(), host::mesh::kPolygonFlags, 0);
    EXPECT_EQ(call(SetMesh3DInfo, "smoothAll", 0.0, host.context()), -1.0f) << "no array";
}

}  // namespace
}  // namespace tollgram
