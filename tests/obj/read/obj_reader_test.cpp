#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "obj/read/line_parser.h"
#include "obj/read/line_reader.h"
#include "obj/model/obj_model.h"
#include "obj/read/read_plan.h"
#include "platform/paths.h"
#include "obj/read/model_joiner.h"
#include "obj/temp_files.h"

namespace tollgram::obj {
namespace {

using test::listOf;
using test::readText;
using test::PathForm;
using test::TempFolder;

const std::string kQuad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
const std::string kNineVertices = "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\nv 6 0 0\nv 7 0 0\nv 8 0 0\n";
const std::string kTenVertices = kNineVertices + "v 9 0 0\n";

std::vector<int32_t> cornersOf(const FaceValue& face) {
    return {face._vertexIndices, face._vertexIndices + face._cornerCount};
}

TEST(ObjReader, ReadsPositionsCoordinatesNormalsAndFaces) {
    TempFolder dir{PathForm::Generic};
    const auto read = readText(dir,
                               "# a comment\n"
                               "v 1 2 3\nv -1.5 2.5e1 +3 0.5 9\nv 4 5 6\nv 7 8 9\n"
                               "vt 0.5 0.25\nvt 0.1 0.2 0.3\n"
                               "VN 0 0 1\nvn 0 1 0\n"
                               "o object\n"
                               "f 1/1/1 2/2/2 3/1/2\n"
                               "f 4//2 3//1 2//2\n"
                               "f 1/2 2/1 3/2\n"
                               "f -1 -2 -3\n");
    ASSERT_TRUE(read.ok) << read.model->_errorText;
    const OBJModel& m = *read.model;
    EXPECT_EQ(m._errorText, "");
    ASSERT_EQ(m._vertices._count, 4u);
    const Vec4 second = vec4Of(m._vertices.at(1));
    EXPECT_EQ(second.x, -1.5f);
    EXPECT_EQ(second.y, 25.0f);
    EXPECT_EQ(second.z, 3.0f);
    EXPECT_EQ(second.w, 1.0f);  // the w and colour on the line are ignored
    ASSERT_EQ(m._textureCoords._count, 2u);
    const Vec4 uv = vec4Of(m._textureCoords.at(0));
    EXPECT_EQ(uv.x, 0.5f);
    EXPECT_EQ(uv.y, 0.25f);
    EXPECT_EQ(uv.z, 0.0f);
    EXPECT_EQ(uv.w, 1.0f);
    EXPECT_EQ(m._textureCoords.at(1).z, 0.3f);
    ASSERT_EQ(m._normals._count, 2u);
    EXPECT_EQ(m._normals.at(0).z, 1.0f);

    ASSERT_EQ(m._faces._count, 4u);
    struct Expected {
        std::vector<int32_t> vertices, textures, normals;
        uint8_t hasTexture, hasNormal;
    };
    const Expected expected[] = {
        {{0, 1, 2}, {0, 1, 0}, {0, 1, 1}, 1, 1},
        {{3, 2, 1}, {}, {1, 0, 1}, 0, 1},
        {{0, 1, 2}, {1, 0, 1}, {}, 1, 0},
        {{3, 2, 1}, {}, {}, 0, 0},
    };
    for (uint32_t i = 0; i < 4; ++i) {
        SCOPED_TRACE("face " + std::to_string(i));
        const FaceValue f = faceValueAt(m, i);
        EXPECT_EQ(cornersOf(f), expected[i].vertices);
        EXPECT_EQ(f._hasTexture, expected[i].hasTexture);
        EXPECT_EQ(f._hasNormal, expected[i].hasNormal);
        for (uint32_t c = 0; c < f._cornerCount && f._hasTexture; ++c) EXPECT_EQ(f._textureIndices[c], expected[i].textures[c]);
        for (uint32_t c = 0; c < f._cornerCount && f._hasNormal; ++c) EXPECT_EQ(f._normalIndices[c], expected[i].normals[c]);
        EXPECT_EQ(f._smoothingGroup, 0u);
        EXPECT_EQ(f._materialIndex, -1);
    }
    EXPECT_EQ(m._groupNames, (std::vector<std::string>{"default"}));
    EXPECT_EQ(listOf(m._groupFaces.at("default")), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST(ObjReader, GroupLinesDecideTheGroupsOfTheFollowingFaces) {
    struct Case {
        const char* name;
        std::string body;  // after four vertices
        std::vector<std::string> groups;
        std::vector<std::vector<int32_t>> faces;  // per group, in the order above
    };
    const Case cases[] = {
        {"no group line", "f 1 2 3\nf 1 3 4\n", {"default"}, {{0, 1}}},
        {"two names", "g a b\nf 1 2 3\n", {"a", "b"}, {{0}, {0}}},
        {"names in another order", "g b a\nf 1 2 3\n", {"b", "a"}, {{0}, {0}}},
        {"no name", "g\nf 1 2 3\n", {"default"}, {{0}}},
        {"blanks only", "g  \t\nf 1 2 3\n", {"default"}, {{0}}},
        {"a group no face joins", "g a\nf 1 2 3\ng unused\ng b\nf 2 3 4\n", {"a", "b"}, {{0}, {1}}},
        {"named again later", "g a\nf 1 2 3\ng b\nf 1 2 4\ng a\nf 2 3 4\n", {"a", "b"}, {{0, 2}, {1}}},
        {"named twice on one line", "g a a\nf 1 2 3\n", {"a"}, {{0, 0}}},
        {"trailing white space", "g a \t \nf 1 2 3\n", {"a"}, {{0}}},
        {"capital keyword keeps the names' case", "G Left Right\nf 1 2 3\n", {"Left", "Right"}, {{0}, {0}}},
        {"tab after the keyword", "G\tLeft Right\nf 1 2 3\n", {"left", "Right"}, {{0}, {0}}},
        {"default named after others", "g a\nf 1 2 3\ng\nf 1 2 4\n", {"a", "default"}, {{0}, {1}}},
        {"word glued to the keyword", "group x\nf 1 2 3\n", {"roup", "x"}, {{0}, {0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        const auto read = readText(dir, kQuad + c.body);
        ASSERT_TRUE(read.ok) << read.model->_errorText;
        EXPECT_EQ(read.model->_groupNames, c.groups);
        ASSERT_EQ(read.model->_groupFaces.size(), c.groups.size());
        for (size_t g = 0; g < c.groups.size(); ++g) {
            EXPECT_EQ(listOf(read.model->_groupFaces.at(c.groups[g])), c.faces[g]) << c.groups[g];
        }
    }
}

TEST(ObjReader, FaceLinesStoreDistinctCornersOfOneForm) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::vector<int32_t>> faces;  // vertex indices of every stored face
        std::string errorText;
    };
    const Case cases[] = {
        {"one vertex", kQuad + std::string("f 2\n"), {{1}}, ""},
        {"two vertices", kQuad + std::string("f 2 3\n"), {{1, 2}}, ""},
        {"a repeated vertex is skipped", kQuad + std::string("f 1 2 3 1\n"), {{0, 1, 2}}, ""},
        {"all corners the same", kQuad + std::string("f 3 3 3\n"), {{2}}, ""},
        {"eight distinct", kNineVertices + "f 1 2 3 4 5 6 7 8 1 2\n", {{0, 1, 2, 3, 4, 5, 6, 7}}, ""},
        {"counting back", kTenVertices + "f -1 -2 -3\n", {{9, 8, 7}}, ""},
        {"counting back sees only earlier vertices", "v 0 0 0\nv 1 0 0\nf -1 -2\nv 2 0 0\nf -1 -3\n", {{1, 0}, {2, 0}}, ""},
        {"explicit plus", kQuad + std::string("f +1 +2 +3\n"), {{0, 1, 2}}, ""},
        {"blanks between corners", kQuad + std::string("f\t1  2 \t 3  \n"), {{0, 1, 2}}, ""},
        {"nothing after the keyword", kQuad + std::string("f\nf   \n"), {}, ""},
        {"a second corner of another form", kQuad + "vt 0 0\nvn 0 0 1\nf 1/1/1 2//1 3/1/1\nf 1 2 3\n", {{0, 1, 2}},
         "Error for vertex at (f 1/1/1 2//1 3/1/1)\n"},
        {"a letter in a corner", kQuad + std::string("f 1 2a 3\n"), {}, "Error for vertex at (f 1 2a 3)\n"},
        {"a separator ends a texture corner", kQuad + std::string("vt 0 0\nf 1/1 2/ 3/1\n"), {},
         "Error for vertex at (f 1/1 2/ 3/1)\n"},
        {"a separator ends a full corner", kQuad + std::string("vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/ 3/1/1\n"), {},
         "Error for vertex at (f 1/1/1 2/1/ 3/1/1)\n"},
        {"a separator ends a normal corner", kQuad + std::string("vn 0 0 1\nf 1//1 2// 3//1\n"), {},
         "Error for vertex at (f 1//1 2// 3//1)\n"},
        {"too many parts", kQuad + std::string("vt 0 0\nvn 0 0 1\nf 1/1/1/1 2/1/1 3/1/1\n"), {},
         "Error for vertex at (f 1/1/1/1 2/1/1 3/1/1)\n"},
        {"any separator serves", kQuad + std::string("vt 0 0\nf 1/1 2x1 3-1\n"), {{0, 1, 2}}, ""},
        {"an invalid corner after valid ones keeps no part", kQuad + std::string("f 1 2 /3\nf 2 3 4\n"), {{1, 2, 3}},
         "Error for vertex at (f 1 2 /3)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        const auto read = readText(dir, c.text);
        ASSERT_TRUE(read.ok) << read.model->_errorText;
        EXPECT_EQ(read.model->_errorText, c.errorText);
        ASSERT_EQ(read.model->_faces._count, c.faces.size());
        for (uint32_t i = 0; i < c.faces.size(); ++i) EXPECT_EQ(cornersOf(faceValueAt(*read.model, i)), c.faces[i]);
        if (c.faces.empty()) {
            EXPECT_TRUE(read.model->_groupNames.empty());
        }
    }
}

TEST(ObjReader, FaultsThatEndTheReadSayWhere) {
    struct Case {
        const char* name;
        std::string text;
        std::string message;  // "PATH" stands for the file's path
        uint32_t facesKept;
    };
    const Case cases[] = {
        {"vertex 0", kQuad + std::string("f 1 2 3\nf 0 1 2\nf 1 2 3\n"), "Vertex 0 invalid at (f 0 1 2) in PATH\n", 1},
        {"vertex beyond", kQuad + std::string("f 1 2 5\n"), "Vertex not found at (f 1 2 5) in PATH\n", 0},
        {"counting back too far", kTenVertices + "f -11 1 2\n", "Vertex not found at (f -11 1 2) in PATH\n", 0},
        {"a vertex defined later", "v 0 0 0\nv 1 0 0\nf 1 2 3\nv 2 0 0\n", "Vertex not found at (f 1 2 3) in PATH\n", 0},
        {"texture 0", kQuad + std::string("vt 0 0\nf 1/0 2/1 3/1\n"),
         "Coordinate of texture 0 invalid at (f 1/0 2/1 3/1) in PATH\n", 0},
        {"texture beyond", kQuad + std::string("vt 0 0\nf 1/1 2/2 3/1\n"),
         "Coordinate of texture invalid at (f 1/1 2/2 3/1) in PATH\n", 0},
        {"normal 0", kQuad + std::string("vn 0 0 1\nf 1//0 2//1 3//1\n"),
         "Normal of vertex 0 invalid at f 1//0 2//1 3//1) in PATH\n", 0},
        {"normal beyond", kQuad + std::string("vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/-2 3/1/1\n"),
         "Usage of non valid normal for vertex at (f 1/1/1 2/1/-2 3/1/1) in PATH\n", 0},
        {"vertex checked before texture", kQuad + std::string("f 9/0 1/1 2/1\n"),
         "Vertex not found at (f 9/0 1/1 2/1) in PATH\n", 0},
        {"nine distinct vertices", kTenVertices + "f 1 2 3 4 5 6 7 8 9\n", "ERROR: Max face vertex count of 8 exceeded.\n", 0},
        {"earlier texts are kept", kQuad + std::string("l 1 2\nf 1 x\nf 1 2 7\n"),
         "Line \"l 1 2\" in PATH has error.Error for vertex at (f 1 x)\nVertex not found at (f 1 2 7) in PATH\n", 0},
        {"capital keyword in the text", kQuad + std::string("F 1 2 9\n"), "Vertex not found at (f 1 2 9) in PATH\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        const auto read = readText(dir, c.text);
        EXPECT_FALSE(read.ok);
        std::string expected = c.message;
        for (size_t at; (at = expected.find("PATH")) != std::string::npos;) expected.replace(at, 4, read.path);
        EXPECT_EQ(read.model->_errorText, expected);
        EXPECT_EQ(read.model->_faces._count, c.facesKept);
    }
}

TEST(ObjReader, AMissingFileIsNamed) {
    TempFolder dir{PathForm::Generic};
    OBJModel model;
    const std::string path = dir.pathOf("absent.obj");
    EXPECT_FALSE(model.readOBJ(path));
    EXPECT_EQ(model._errorText, "OBJ file not found: " + path);
}

TEST(ObjReader, LinesOfOtherKindsAreReportedOrIgnored) {
    struct Case {
        const char* name;
        std::string line;
        std::string errorText;  // "PATH" stands for the path
    };
    const Case cases[] = {
        {"polyline", "l 1 2", "Line \"l 1 2\" in PATH has error."},
        {"capital polyline", "L 1 2", "Line \"l 1 2\" in PATH has error."},
        {"tab-indented", "\tv 1 2 3", "Line \"\tv 1 2 3\" in PATH has error."},
        {"unknown word", "Curv2 1 2", "Line \"curv2 1 2\" in PATH has error."},
        {"indented", "  v 1 2 3", ""},
        {"object", "o Thing", ""},
        {"comment", "#v 1 2 3", ""},
        {"empty", "", ""},
        {"carriage return only", "\r", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        const auto read = readText(dir, c.line + "\nv 1 1 1\n");
        ASSERT_TRUE(read.ok);
        std::string expected = c.errorText;
        if (size_t at = expected.find("PATH"); at != std::string::npos) expected.replace(at, 4, read.path);
        EXPECT_EQ(read.model->_errorText, expected);
        EXPECT_EQ(read.model->_vertices._count, 1u);
    }
}

TEST(ObjReader, CoordinateLinesWithMissingNumbersGetZeros) {
    struct Case {
        const char* name;
        std::string line;
        Vec4 expected;
        int array;  // 0 vertices, 1 texture coordinates, 2 normals
    };
    const Case cases[] = {
        {"vertex without numbers", "v", {0, 0, 0, 1}, 0},
        {"vertex with one number", "v 7", {7, 0, 0, 1}, 0},
        {"vertex with an unreadable second", "v 7 x 9", {7, 0, 0, 1}, 0},
        {"texture coordinate with one number", "vt 0.5", {0.5f, 0, 0, 1}, 1},
        {"normal without numbers", "vn", {0, 0, 0, 1}, 2},
        {"parameter-space vertex", "vp 0.5 0.5", {0, 0, 0, 1}, 0},
        {"numbers glued to the keyword", "v1 2 3", {1, 2, 3, 1}, 0},
        {"signs as separators", "v 1-2+3", {1, -2, 3, 1}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        // The full line before leaves numbers a careless reader would reuse.
        const auto read = readText(dir, "v 5 6 7\nvt 5 6 7\nvn 5 6 7\n" + c.line + "\n");
        ASSERT_TRUE(read.ok);
        const PagedArray<Vec3>* arrays[] = {&read.model->_vertices, &read.model->_textureCoords, &read.model->_normals};
        const PagedArray<Vec3>& array = *arrays[c.array];
        ASSERT_EQ(array._count, 2u);
        const Vec4 v = vec4Of(array.at(1));
        EXPECT_EQ(v.x, c.expected.x);
        EXPECT_EQ(v.y, c.expected.y);
        EXPECT_EQ(v.z, c.expected.z);
        EXPECT_EQ(v.w, 1.0f);
    }
}

TEST(ObjReader, SmoothingLinesRegisterDistinctNumbers) {
    struct Case {
        const char* name;
        std::string lines;
        std::vector<uint32_t> registered;
        uint32_t faceGroup;  // of the face after the lines
    };
    const Case cases[] = {
        {"off", "s 4\ns off\n", {4}, 0},
        {"capital off", "s 4\ns OFF\n", {4}, 0},
        {"repeated numbers", "s 3\ns 1\ns 3\n", {3, 1}, 3},
        {"zero is registered", "s 0\n", {0}, 0},
        {"nothing after the keyword", "s 5\ns\ns  \n", {5}, 5},
        {"not a number keeps the group", "s 5\ns x\n", {5}, 5},
        {"digits then letters", "s 12ab\n", {12}, 12},
        {"all bits set", "s 4294967295\n", {4294967295u}, 4294967295u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        const auto read = readText(dir, kQuad + c.lines + "f 1 2 3\n");
        ASSERT_TRUE(read.ok) << read.model->_errorText;
        ASSERT_EQ(read.model->_smoothingGroupCount, c.registered.size());
        for (size_t i = 0; i < c.registered.size(); ++i) EXPECT_EQ(read.model->_smoothingGroups[i], c.registered[i]);
        EXPECT_EQ(faceValueAt(*read.model, 0)._smoothingGroup, c.faceGroup);
    }
}

TEST(ObjReader, SmoothingNumbersBeyondTheRecordGoToTheLog) {
    TempFolder dir{PathForm::Generic};
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    std::string text = kQuad;
    for (int i = 1; i <= 256; ++i) text += "s " + std::to_string(i) + "\n";
    text += "s 1000\nf 1 2 3\ns off\ns 7\n";
    const auto read = readText(dir, text);
    std::ifstream logFile(dir.path() / "error_objmodel_read.txt", std::ios::binary);
    std::stringstream log;
    log << logFile.rdbuf();
    logFile.close();
    std::filesystem::current_path(previous);

    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.model->_errorText, "");
    EXPECT_EQ(read.model->_smoothingGroupCount, 256u);
    EXPECT_EQ(read.model->_smoothingGroups[255], 256u);
    EXPECT_EQ(faceValueAt(*read.model, 0)._smoothingGroup, 1000u);
    std::string logged = log.str();
    for (size_t at; (at = logged.find('\r')) != std::string::npos;) logged.erase(at, 1);
    EXPECT_EQ(logged,
              "ERROR: _smoothingGroupCount = 256\nline = s 1000\n"
              "ERROR: _smoothingGroupCount = 256\nline = s 7\n");
}

TEST(ObjReader, LineEndsAndLongLines) {
    const std::string longName(3000, 'N');
    // Split after 1023 characters, the tail of this comment would be a vertex.
    const std::string longComment = "#" + std::string(1022, 'c') + "v 9 9 9";
    std::string hugeFace = "f";
    while (hugeFace.size() < 3 * kAloneChunkBytes) hugeFace += " 1 2 3 -1";
    struct Case {
        const char* name;
        std::string text;
        uint32_t vertices;
        uint32_t faces;
        std::string group;
    };
    const Case cases[] = {
        {"CR LF", "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\ng Top\r\nf 1 2 3\r\n", 3, 1, "Top"},
        {"no line feed at the end", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3", 3, 1, "default"},
        {"group name of 3000 characters", kQuad + "g " + longName + "\nf 1 2 3\n", 4, 1, longName},
        {"comment longer than a line buffer", longComment + "\n", 0, 0, ""},
        {"face line longer than the read block", kQuad + hugeFace + "\n", 4, 1, "default"},
        {"empty file", "", 0, 0, ""},
        {"blank lines only", "\n\n\r\n\n", 0, 0, ""},
        {"old Mac CR", "v 0 0 0\rv 1 0 0\rv 0 1 0\rg Top\rf 1 2 3\r", 3, 1, "Top"},
        {"CR, LF and CR LF mixed", "v 0 0 0\r\nv 1 0 0\rv 0 1 0\ng Top\r\r\nf 1 2 3", 3, 1, "Top"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBFv 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 2 3\n", 4, 1, "default"},
        {"byte-order mark before a group line", "\xEF\xBB\xBFg Top\r" + kQuad + "f 1 2 3\r", 4, 1, "Top"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        const auto read = readText(dir, c.text);
        ASSERT_TRUE(read.ok) << read.model->_errorText.substr(0, 200);
        EXPECT_EQ(read.model->_errorText.substr(0, 200), "");
        EXPECT_EQ(read.model->_vertices._count, c.vertices);
        EXPECT_EQ(read.model->_faces._count, c.faces);
        if (!c.group.empty()) {
            EXPECT_EQ(read.model->_groupNames, (std::vector<std::string>{c.group}));
        }
    }
}

// The first line after a byte-order mark is read, so "f 1 2 3" names the
// file's first three vertices; UTF-16 text is refused with a reason.
TEST(ObjReader, TextEncodings) {
    TempFolder dir{PathForm::Generic};
    const auto marked = readText(dir, "\xEF\xBB\xBFv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nf 1 2 3\n");
    ASSERT_TRUE(marked.ok);
    ASSERT_EQ(marked.model->_vertices._count, 4u);
    EXPECT_EQ(marked.model->_vertices.at(0).x, 1.0f);
    EXPECT_EQ(cornersOf(faceValueAt(*marked.model, 0)), (std::vector<int32_t>{0, 1, 2}));

    auto utf16 = [](const std::string& text, bool bigEndian, bool mark) {
        std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
        for (char c : text) {
            if (bigEndian) bytes += '\0';
            bytes += c;
            if (!bigEndian) bytes += '\0';
        }
        return bytes;
    };
    const std::string text = "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nf 1 2 3\r\n";
    for (bool bigEndian : {false, true}) {
        for (bool mark : {true, false}) {
            SCOPED_TRACE(std::string(bigEndian ? "big" : "little") + (mark ? "-endian with mark" : "-endian"));
            const auto read = readText(dir, utf16(text, bigEndian, mark));
            EXPECT_FALSE(read.ok);
            EXPECT_EQ(read.model->_errorText,
                      "OBJ file is UTF-16 text, which is not read (save it as ANSI or UTF-8): " + read.path);
            EXPECT_EQ(read.model->_vertices._count, 0u);
        }
    }

    // A stray NUL beside an ASCII byte at the start is no UTF-16: the file
    // is read by the reader's rules, a line that starts with NUL being empty.
    const std::string rest = "v 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 2 3\n";
    for (const std::string& start : {std::string("\0\n", 2), std::string("#\0\n", 3), std::string("\0#\n", 3)}) {
        SCOPED_TRACE(testing::PrintToString(start));
        const auto read = readText(dir, start + rest);
        ASSERT_TRUE(read.ok) << read.model->_errorText;
        EXPECT_EQ(read.model->_vertices._count, 3u);
        EXPECT_EQ(read.model->_faces._count, 1u);
    }
}

// A CR LF pair that the reader's chunks cut in two is one line end: lines
// of lengths around the chunk's put the cut at each place near the pair.
TEST(LineReader, ACarriageReturnAtTheEndOfAChunkWaitsForItsLineFeed) {
    TempFolder dir{PathForm::Generic};
    for (size_t length = kLineReaderChunkBytes - 4; length <= kLineReaderChunkBytes + 4; ++length) {
        const std::string first(length, 'a');
        const std::string path = dir.write("lines.txt", first + "\r\nsecond\rthird\r");
        LineReader reader;
        ASSERT_TRUE(reader.open(path));
        std::vector<std::string> lines;
        char* line;
        size_t lineLength;
        bool more = true;
        while (more) {
            more = reader.readLine(line, lineLength);
            lines.emplace_back(line, lineLength);
        }
        EXPECT_EQ(lines, (std::vector<std::string>{first, "second", "third", ""})) << length;
    }
}

// A group of one face holds a list of a few entries, not a page: one group
// line with 100,000 names, and 100,000 groups of one face each.
TEST(ObjReader, ManyGroupsCostLittleEach) {
    TempFolder dir{PathForm::Generic};
    constexpr int kGroups = 100000;
    std::string oneLine = kQuad + "g";
    std::string manyLines = kQuad;
    for (int i = 0; i < kGroups; ++i) {
        oneLine += " n" + std::to_string(i);
        manyLines += "g n" + std::to_string(i) + "\nf 1 2 3\n";
    }
    oneLine += "\nf 1 2 3\nf 2 3 4\n";
    for (const std::string* text : {&oneLine, &manyLines}) {
        const auto read = readText(dir, *text);
        ASSERT_TRUE(read.ok) << read.model->_errorText.substr(0, 200);
        const OBJModel& m = *read.model;
        ASSERT_EQ(m._groupNames.size(), size_t(kGroups));
        EXPECT_EQ(m._groupNames[kGroups - 1], "n" + std::to_string(kGroups - 1));
        size_t entries = 0;
        for (const auto& [name, list] : m._groupFaces) {
            EXPECT_LE(list.capacity(), size_t(kFaceIndexListFirstCapacity)) << name;
            entries += list.size();
        }
        EXPECT_EQ(entries, text == &oneLine ? size_t(2 * kGroups) : size_t(kGroups));
        EXPECT_EQ(listOf(m._groupFaces.at("n7")), (text == &oneLine ? std::vector<int32_t>{0, 1} : std::vector<int32_t>{7}));
    }
}

TEST(ObjReader, ManyElementsFillWholeBlocks) {
    TempFolder dir{PathForm::Generic};
    std::string text;
    for (int i = 0; i < 8001; ++i) text += "v " + std::to_string(i) + " 0 0\nvt 0." + std::to_string(i % 10) + " 1\n";
    for (int i = 1; i + 2 <= 8001; i += 2) text += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
    const auto read = readText(dir, text);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.model->_vertices._blocks.size(), 3u);
    EXPECT_EQ(read.model->_textureCoords._blocks.size(), 2u);
    EXPECT_EQ(read.model->_vertices.at(8000).x, 8000.0f);
    EXPECT_EQ(read.model->_faces._count, 4000u);
    EXPECT_EQ(read.model->_faces._blocks.size(), 1u);
    EXPECT_EQ(read.model->_groupFaces.at("default").size(), 4000u);
}

// The corner reader the face reader picks for the form.
const char* scanCornerOfForm(const char* token, FaceForm form, int32_t& vertex, int32_t& texture, int32_t& normal) {
    if (form.hasTexture) {
        return form.hasNormal ? scanCorner<true, true>(token, vertex, texture, normal)
                              : scanCorner<true, false>(token, vertex, texture, normal);
    }
    return form.hasNormal ? scanCorner<false, true>(token, vertex, texture, normal)
                          : scanCorner<false, false>(token, vertex, texture, normal);
}

TEST(ScanCorner, AcceptsExactlyTheFormsParts) {
    const FaceForm v{false, false}, vt{true, false}, vn{false, true}, vtn{true, true};
    struct Case {
        const char* token;
        FaceForm form;
        bool valid;
        int32_t vertex, texture, normal;
    };
    const Case cases[] = {
        {"7", v, true, 7, 0, 0},         {"-3", v, true, -3, 0, 0},      {"7/2", vt, true, 7, 2, 0},
        {"7//4", vn, true, 7, 0, 4},     {"7/2/4", vtn, true, 7, 2, 4},  {"7a2", vt, true, 7, 2, 0},
        {"7/", vt, false, 0, 0, 0},      {"7/2/", vtn, false, 0, 0, 0},  {"7//", vn, false, 0, 0, 0},
        {"7/2", v, false, 0, 0, 0},      {"7", vt, false, 0, 0, 0},      {"7/2/4", vt, false, 0, 0, 0},
        {"7//4", vtn, false, 0, 0, 0},   {"/2", vt, false, 0, 0, 0},     {"x", v, false, 0, 0, 0},
        {"", v, false, 0, 0, 0},         {"7/2/4x", vtn, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        int32_t vertex = 0, texture = 0, normal = 0;
        const char* end = c.token + std::char_traits<char>::length(c.token);
        EXPECT_EQ(scanCornerOfForm(c.token, c.form, vertex, texture, normal) == end, c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(vertex, c.vertex);
        if (c.form.hasTexture) {
            EXPECT_EQ(texture, c.texture);
        }
        if (c.form.hasNormal) {
            EXPECT_EQ(normal, c.normal);
        }
    }
}

TEST(FaceFormOf, CountsTheSeparatorsOfTheFirstCorner) {
    struct Case {
        const char* token;
        bool texture, normal;
    };
    for (const Case& c : {Case{"1", false, false}, Case{"1/2", true, false}, Case{"1//3", false, true},
                          Case{"1/2/3", true, true}, Case{"1/2/3/4", true, true}, Case{"1///", false, true}}) {
        SCOPED_TRACE(c.token);
        const FaceForm form = faceFormOf(c.token, c.token + std::char_traits<char>::length(c.token));
        EXPECT_EQ(form.hasTexture, c.texture);
        EXPECT_EQ(form.hasNormal, c.normal);
    }
}

TEST(DirectoryOf, KeepsEverythingUpToTheLastSeparator) {
    struct Case {
        const char* path;
        const char* directory;
    };
    for (const Case& c : {Case{"C:/models/a.obj", "C:/models/"}, Case{"C:\\m\\x/y\\a.obj", "C:\\m\\x/y\\"},
                          Case{"a.obj", ""}, Case{"/a.obj", "/"}, Case{"dir/", "dir/"}, Case{"", ""}}) {
        EXPECT_EQ(platform::directoryOf(c.path, platform::kEitherSeparator), c.directory) << c.path;
    }
}

}  // namespace
}  // namespace tollgram::obj
