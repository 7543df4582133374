// Queries and OBJ export through the real DLL: a model loaded from a file,
// its counts and group names asked for, and written files read back byte by
// byte with the Windows line ends.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "abi/abi_dll.h"
#include "support/temp_folder.h"

namespace {

using tollgram::test::TempFolder;

const char* const kModel =
    "v 1 2 3\nv 0 0 0\nv 5 5 5\nv 6 6 6\nv 7 7 7\n"
    "vt 0.5 0.25\nvn 0 0 1\n"
    "s 12\ng A\nf 1/1/1 2/1/1 3/1/1\n"
    "s 3\ng B\nf 3//1 4//1 5//1\n";

const char* const kHeader =
    "# File Created by Tollgram for Kavrex\r\n# https://tollgram.example.com/\r\n";

class ObjWriterAbi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(kavrex::call("LoadOBJFile", files.write("in.obj", kModel).c_str()), 2.0f); }
    void TearDown() override { kavrex::call("FreeOBJModel"); }
    TempFolder files;
};

TEST_F(ObjWriterAbi, QueriesAnswerFromTheLoadedModel) {
    struct Case {
        const char* name;
        const char* exportName;
        const char* key;
        double value;
        float result;
    };
    const Case cases[] = {
        {"vertices", "GetOBJInfo", "vertexCount", 0, 5.0f},
        {"faces", "GetOBJInfo", "faceCount", 0, 2.0f},
        {"groups", "GetOBJInfo", "groupCount", 0, 2.0f},
        {"smoothing groups", "GetOBJInfo", "smoothGroupCount", 0, 2.0f},
        {"wrong case", "GetOBJInfo", "FaceCount", 0, 0.0f},
        {"group 2 range", "GetOBJGroupInfo", "vertexCount", 2.0, 3.0f},
        {"group 3", "GetOBJGroupInfo", "vertexCount", 3.0, -1.0f},
        {"name without buffer", "GetOBJGroupInfo", "name", 1.0, -2.0f},
        {"smoothing count", "GetOBJSmoothGroupInfo", "count", 0, 2.0f},
        {"second number", "GetOBJSmoothGroupInfo", "value", 2.0, 3.0f},
        {"NaN position", "GetOBJSmoothGroupInfo", "value", std::numeric_limits<double>::quiet_NaN(), -1.0f},
    };
    for (const Case& c : cases) EXPECT_EQ(kavrex::call(c.exportName, c.key, c.value), c.result) << c.name;
    char buffer[8] = "x";
    EXPECT_EQ(kavrex::call("GetOBJGroupInfo", "name", 2.0, buffer, 8), 0.0f);
    EXPECT_STREQ(buffer, "B");
    EXPECT_EQ(kavrex::call("GetOBJGroupInfo", "name", 2.0, buffer, 1), 34.0f);
    EXPECT_STREQ(buffer, "");
}

TEST_F(ObjWriterAbi, WritesTheWholeModelAndItsPartsWithWindowsLineEnds) {
    ASSERT_EQ(kavrex::call("ExportOBJGroup", files.pathOf("whole.obj").c_str(), 0.0), 0.0f);
    EXPECT_EQ(files.read("whole.obj"), std::string(kHeader) +
              "#Vertex Count 5\r\n#Face Count 2\r\n#Material Count 0\r\n"
              "v 1.00000 2.00000 3.00000 \r\nv 0.00000 0.00000 0.00000 \r\nv 5.00000 5.00000 5.00000 \r\n"
              "v 6.00000 6.00000 6.00000 \r\nv 7.00000 7.00000 7.00000 \r\n"
              "vt 0.500000 0.250000 0.00000 \r\nvn 0.00000 0.00000 1.00000 \r\n"
              "g A\r\nf 1/1/1 2/1/1 3/1/1\r\ng B\r\nf 3//1 4//1 5//1\r\n");

    ASSERT_EQ(kavrex::call("ExportOBJGroup", files.pathOf("b.obj").c_str(), 2.0), 0.0f);
    EXPECT_EQ(files.read("b.obj"), std::string(kHeader) +
              "#Vertex Count 3\r\n#Face Count 1\r\n#Material Count 0\r\n"
              "v 5.00000 5.00000 5.00000 \r\nv 6.00000 6.00000 6.00000 \r\nv 7.00000 7.00000 7.00000 \r\n"
              "g B\r\nf 1 2 3\r\n");

    ASSERT_EQ(kavrex::call("ExportOBJSmoothGroup", files.pathOf("s.obj").c_str(), 1.0), 0.0f);
    EXPECT_EQ(files.read("s.obj"), std::string(kHeader) +
              "#Vertex Count 3\r\n#Face Count 1\r\n#Material Count 0\r\n"
              "v 1.00000 2.00000 3.00000 \r\nv 0.00000 0.00000 0.00000 \r\nv 5.00000 5.00000 5.00000 \r\n"
              "g 12\r\nf 1 2 3\r\n");
}

TEST_F(ObjWriterAbi, FailuresWriteNothing) {
    EXPECT_EQ(kavrex::call("ExportOBJGroup", files.pathOf("none.obj").c_str(), -1.0), -1.0f);
    EXPECT_EQ(kavrex::call("ExportOBJGroup", files.pathOf("none.obj").c_str(), 3.0), -1.0f);
    EXPECT_EQ(kavrex::call("ExportOBJSmoothGroup", files.pathOf("none.obj").c_str(), 3.0), -1.0f);
    EXPECT_EQ(kavrex::call("ExportOBJGroup", nullptr, 0.0), -1.0f);
    EXPECT_FALSE(std::filesystem::exists(files.pathOf("none.obj")));
    kavrex::call("FreeOBJModel");
    EXPECT_EQ(kavrex::call("ExportOBJGroup", files.pathOf("none.obj").c_str(), 0.0), -1.0f);
    EXPECT_EQ(kavrex::call("GetOBJInfo", "vertexCount"), 0.0f);
    EXPECT_FALSE(std::filesystem::exists(files.pathOf("none.obj")));
}

}  // namespace
