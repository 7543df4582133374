#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "obj/built_models.h"
#include "obj/write/obj_writer.h"

namespace tollgram::obj {
namespace {

using test::addFace;
using test::addMaterial;
using test::addVertices;
using test::Corner;
using test::faceOf;
using test::contentOf;
using test::linesOf;

std::string header(uint32_t vertices, uint32_t faces, uint32_t materials) {
    return linesOf({"# File Created by Tollgram for Kavrex", "# https://tollgram.example.com/",
                    "#Vertex Count " + std::to_string(vertices), "#Face Count " + std::to_string(faces),
                    "#Material Count " + std::to_string(materials)});
}

class ObjWriter : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::string path = folder.at("out.obj");
    OBJModel model;
};

TEST_F(ObjWriter, WholeModelWritesEveryKindOfLine) {
    for (Vec3 v : {Vec3{1, 2, 3}, Vec3{0.5f, -0.25f, 100}, Vec3{0, 1e6f, 0.0001f}, Vec3{4, 5, 6}}) {
        ASSERT_TRUE(model._vertices.append(v));
    }
    ASSERT_TRUE(model._textureCoords.append(Vec3{0.5f, 0.25f, 0}));
    ASSERT_TRUE(model._textureCoords.append(Vec3{1, 1, 0}));
    ASSERT_TRUE(model._normals.append(Vec3{0, 0, 1}));
    addMaterial(model, "red");
    addMaterial(model, "blue");
    addFace(model, faceOf({0, 1, 2}, 0), {"A"});
    addFace(model, faceOf({1, 2, 3}, 0), {"A"});
    addFace(model, faceOf({Corner{0, 0}, Corner{1, 1}, Corner{2, 0}}, 1), {"B"});
    addFace(model, faceOf({Corner{0, -1, 0}, Corner{2, -1, 0}, Corner{3, -1, 0}}, -1), {"A"});
    addFace(model, faceOf({Corner{0, 1, 0}, Corner{1, 1, 0}, Corner{3, 0, 0}}, 1), {"A"});

    ASSERT_EQ(writeWholeModel(model, path.c_str()), ModelWrite::Written);
    EXPECT_EQ(contentOf(path), header(4, 5, 2) + linesOf({
        "v 1.00000 2.00000 3.00000 ",
        "v 0.500000 -0.250000 100.000 ",
        "v 0.00000 1.00000e+06 0.000100000 ",
        "v 4.00000 5.00000 6.00000 ",
        "vt 0.500000 0.250000 0.00000 ",
        "vt 1.00000 1.00000 0.00000 ",
        "vn 0.00000 0.00000 1.00000 ",
        "g A",
        "usemtl red",
        "f 1 2 3",
        "f 2 3 4",  // same group and material: no line between
        "g B",
        "usemtl blue",
        "f 1/1 2/2 3/1",
        "g A",
        "f 1//1 3//1 4//1",  // no material: nothing is looked up or written
        "usemtl blue",       // and the material is stated again afterwards
        "f 1/2/1 2/2/1 4/1/1",
    }));
}

TEST_F(ObjWriter, CornersCarryTheIndicesTheFaceHas) {
    addVertices(model, 3);
    struct Case {
        const char* name;
        FaceValue face;
        const char* whole;
    };
    const Case cases[] = {
        {"vertex, texture, normal", faceOf({Corner{2, 6, 1}, Corner{0, 0, 0}, Corner{1, 1, 1}}), "f 3/7/2 1/1/1 2/2/2"},
        {"vertex and normal", faceOf({Corner{2, -1, 1}, Corner{0, -1, 0}, Corner{1, -1, 1}}), "f 3//2 1//1 2//2"},
        {"vertex and texture", faceOf({Corner{2, 6}, Corner{0, 0}, Corner{1, 1}}), "f 3/7 1/1 2/2"},
        {"vertex only", faceOf({2, 0, 1}), "f 3 1 2"},
        {"eight corners", faceOf({0, 1, 2, 3, 4, 5, 6, 7}), "f 1 2 3 4 5 6 7 8"},
    };
    for (const Case& c : cases) {
        OBJModel one;
        addVertices(one, 8);
        addFace(one, c.face, {"g"});
        ASSERT_EQ(writeWholeModel(one, path.c_str()), ModelWrite::Written) << c.name;
        const std::string bytes = contentOf(path);
        EXPECT_NE(bytes.find(linesOf({"g g", c.whole})), std::string::npos) << c.name << ":\n" << bytes;
        // A single group keeps only the renumbered vertex.
        ASSERT_EQ(writeGroup(one, path.c_str(), 0), ModelWrite::Written) << c.name;
        std::string subset = c.whole;
        for (size_t slash; (slash = subset.find('/')) != std::string::npos;) {
            subset.erase(slash, subset.find(' ', slash) - slash);
        }
        EXPECT_NE(contentOf(path).find(linesOf({"g g", subset})), std::string::npos) << c.name;
    }
}

TEST_F(ObjWriter, WholeModelWithoutFacesIsInTheDefaultGroup) {
    ASSERT_TRUE(model._vertices.append(Vec3{1, 2, 3}));
    ASSERT_TRUE(model._textureCoords.append(Vec3{0, 1, 0}));
    ASSERT_TRUE(model._normals.append(Vec3{0, 1, 0}));
    addMaterial(model, "unused");
    ASSERT_EQ(writeWholeModel(model, path.c_str()), ModelWrite::Written);
    EXPECT_EQ(contentOf(path), header(1, 0, 1) + linesOf({"v 1.00000 2.00000 3.00000 ", "vt 0.00000 1.00000 0.00000 ",
                                                           "vn 0.00000 1.00000 0.00000 ", "g default"}));
}

TEST_F(ObjWriter, WholeModelGroupLinesFollowMembership) {
    addVertices(model, 3);
    const FaceValue f = faceOf({0, 1, 2});
    addFace(model, f);              // 0: in no group
    addFace(model, f, {"A"});       // 1
    addFace(model, f, {"B"});       // 2
    addFace(model, f, {"A", "B"});  // 3: current group B holds it
    addFace(model, f, {"C"});       // 4
    addFace(model, f, {"B", "A"});  // 5: A was created first
    addFace(model, f, {"A"});       // 6
    addFace(model, f, {"B"});       // 7
    addFace(model, f, {"A"});       // 8
    addFace(model, f);              // 9
    ASSERT_EQ(writeWholeModel(model, path.c_str()), ModelWrite::Written);
    const std::string bytes = contentOf(path);
    const std::string faces = linesOf({"g default", "f 1 2 3", "g A", "f 1 2 3", "g B", "f 1 2 3", "f 1 2 3",
                                       "g C", "f 1 2 3", "g A", "f 1 2 3", "f 1 2 3", "g B", "f 1 2 3",
                                       "g A", "f 1 2 3", "g default", "f 1 2 3"});
    ASSERT_GE(bytes.size(), faces.size());
    EXPECT_EQ(bytes.substr(bytes.size() - faces.size()), faces);
}

TEST_F(ObjWriter, WholeModelOfManyGroupsMatchesTheOrderOfCreation) {
    // More faces than one block, each in two interleaved groups. A face stays
    // under the current group when that holds it; a group line before a face
    // names the first-created of its groups.
    addVertices(model, 3);
    const int32_t faceCount = 4100;
    for (int32_t i = 0; i < faceCount; ++i) {
        // Not `"g" + temporary`, on which GCC 12 warns falsely (-Wrestrict).
        const std::string mine = std::string("g").append(std::to_string(i % 7));
        const std::string other = std::string("g").append(std::to_string((i + 3) % 7));
        addFace(model, faceOf({0, 1, 2}), {mine.c_str(), other.c_str()});
    }
    // The first faces create g0, g3, g1, g4, g2, g5, g6: gN's place in that order.
    const int32_t creation[7] = {0, 2, 4, 1, 3, 5, 6};
    ASSERT_EQ(writeWholeModel(model, path.c_str()), ModelWrite::Written);
    const std::string bytes = contentOf(path);
    size_t at = bytes.find("g ");
    ASSERT_NE(at, std::string::npos);
    std::string current;
    bool groupLineBefore = false;
    int32_t face = 0;
    size_t groupLines = 0;
    for (size_t end; (end = bytes.find(platform::kLineEnd, at)) != std::string::npos; at = end + platform::kLineEndLength) {
        const std::string line = bytes.substr(at, end - at);
        if (line.rfind("g ", 0) == 0) {
            current = line.substr(2);
            groupLineBefore = true;
            ++groupLines;
            continue;
        }
        ASSERT_EQ(line, "f 1 2 3");
        const int32_t a = face % 7;
        const int32_t b = (face + 3) % 7;
        const std::string first = "g" + std::to_string(creation[a] < creation[b] ? a : b);
        if (groupLineBefore) {
            ASSERT_EQ(current, first) << "face " << face;
        } else {
            ASSERT_TRUE(current == "g" + std::to_string(a) || current == "g" + std::to_string(b))
                << "face " << face << " under " << current;
        }
        groupLineBefore = false;
        ++face;
    }
    EXPECT_EQ(face, faceCount);
    EXPECT_GT(groupLines, 1000u);
}

TEST_F(ObjWriter, GroupIsRenumberedFromItsFirstVertex) {
    addVertices(model, 12);
    addMaterial(model, "m0");
    addMaterial(model, "m1");
    addMaterial(model, "m2");
    addFace(model, faceOf({0, 1, 2}, 0), {"other"});
    addFace(model, faceOf({5, 6, 7}, 1), {"G"});
    addFace(model, faceOf({3, 4, 0}, 0), {"other"});
    addFace(model, faceOf({7, 8, 9}, 1), {"G"});
    ASSERT_EQ(writeGroup(model, path.c_str(), 1), ModelWrite::Written);
    EXPECT_EQ(contentOf(path), header(5, 2, 3) + linesOf({
        "v 5.00000 5.50000 -5.00000 ",
        "v 6.00000 6.50000 -6.00000 ",
        "v 7.00000 7.50000 -7.00000 ",
        "v 8.00000 8.50000 -8.00000 ",
        "v 9.00000 9.50000 -9.00000 ",
        "g G",
        "usemtl m1",
        "f 1 2 3",
        "f 3 4 5",
    }));
}

TEST_F(ObjWriter, GroupWritesTheVerticesInsideItsRangeItDoesNotUse) {
    addVertices(model, 20);
    addFace(model, faceOf({0, 1, 2, 3}), {"gap"});
    addFace(model, faceOf({10, 11, 12}), {"gap"});
    ASSERT_EQ(writeGroup(model, path.c_str(), 0), ModelWrite::Written);
    const std::string bytes = contentOf(path);
    EXPECT_EQ(bytes.rfind(header(13, 2, 0), 0), 0u) << bytes;
    size_t vertexLines = 0;
    for (size_t at = 0; (at = bytes.find(std::string(platform::kLineEnd) + "v ", at)) != std::string::npos; ++at) {
        ++vertexLines;
    }
    EXPECT_EQ(vertexLines, 13u);
    for (const char* unused : {"v 4.00000 4.50000 -4.00000 ", "v 9.00000 9.50000 -9.00000 "}) {
        EXPECT_NE(bytes.find(linesOf({unused})), std::string::npos) << unused;
    }
    const std::string tail = linesOf({"v 12.0000 12.5000 -12.0000 ", "g gap", "f 1 2 3 4", "f 11 12 13"});
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST_F(ObjWriter, AFaceListedTwiceIsWrittenTwice) {
    addVertices(model, 4);
    addFace(model, faceOf({1, 2, 3}), {"twice", "twice"});
    ASSERT_EQ(writeGroup(model, path.c_str(), 0), ModelWrite::Written);
    const std::string bytes = contentOf(path);
    EXPECT_NE(bytes.find(linesOf({"#Face Count 2"})), std::string::npos);
    EXPECT_NE(bytes.find(linesOf({"g twice", "f 1 2 3", "f 1 2 3"})), std::string::npos) << bytes;
}

TEST_F(ObjWriter, SmoothingGroupIsNamedByItsNumber) {
    addVertices(model, 10);
    addMaterial(model, "m");
    addFace(model, faceOf({4, 5, 6}, 0, 12), {"x"});
    addFace(model, faceOf({0, 1, 2}, 0, 3), {"x"});
    addFace(model, faceOf({6, 7, 8}, -1, 12), {"y"});
    addFace(model, faceOf({8, 5, 4}, 0, 12), {"x"});
    ASSERT_EQ(writeSmoothingGroup(model, path.c_str(), 12), ModelWrite::Written);
    EXPECT_EQ(contentOf(path), header(5, 3, 1) + linesOf({
        "v 4.00000 4.50000 -4.00000 ",
        "v 5.00000 5.50000 -5.00000 ",
        "v 6.00000 6.50000 -6.00000 ",
        "v 7.00000 7.50000 -7.00000 ",
        "v 8.00000 8.50000 -8.00000 ",
        "g 12",
        "usemtl m",
        "f 1 2 3",
        "f 3 4 5",
        "usemtl m",
        "f 5 2 1",
    }));
}

TEST_F(ObjWriter, EmptySubsetsFailAndLeaveTheFileAlone) {
    addVertices(model, 5);
    addFace(model, faceOf({2, 2, 2}, -1, 4), {"one vertex"});
    addFace(model, FaceValue{}, {"no corners"});
    test::registerSmoothingGroup(model, 4);
    struct Case {
        const char* name;
        ModelWrite written;
    };
    const Case cases[] = {
        {"group of one vertex", writeGroup(model, path.c_str(), 0)},
        {"group without corners", writeGroup(model, path.c_str(), 1)},
        {"group index beyond the groups", writeGroup(model, path.c_str(), 2)},
        {"smoothing group of one vertex", writeSmoothingGroup(model, path.c_str(), 4)},
        {"smoothing group without faces", writeSmoothingGroup(model, path.c_str(), 9)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.written, ModelWrite::EmptySubset) << c.name;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ObjWriter, FailsWhenTheFileCannotBeMade) {
    addVertices(model, 3);
    addFace(model, faceOf({0, 1, 2}, -1, 1), {"g"});
    for (const std::string& bad : {std::string(), folder.at("missing folder/out.obj")}) {
        EXPECT_EQ(writeWholeModel(model, bad.c_str()), ModelWrite::FileNotWritten) << bad;
        EXPECT_EQ(writeGroup(model, bad.c_str(), 0), ModelWrite::FileNotWritten) << bad;
        EXPECT_EQ(writeSmoothingGroup(model, bad.c_str(), 1), ModelWrite::FileNotWritten) << bad;
    }
}

#if !defined(_WIN32)
// A device that takes no bytes: the failure only shows when the buffer is
// written out, and must still become the writer's result.
TEST_F(ObjWriter, ReportsAWriteThatFailsAfterTheOpen) {
    addVertices(model, 3);
    addFace(model, faceOf({0, 1, 2}, -1, 1), {"g"});
    EXPECT_EQ(writeWholeModel(model, "/dev/full"), ModelWrite::FileNotWritten);
    EXPECT_EQ(writeGroup(model, "/dev/full", 0), ModelWrite::FileNotWritten);
    EXPECT_EQ(writeSmoothingGroup(model, "/dev/full", 1), ModelWrite::FileNotWritten);
}
#endif

}  // namespace
}  // namespace tollgram::obj
