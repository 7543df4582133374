#include <gtest/gtest.h>

#include <vector>

#include "support/test_models.h"
#include "obj/failing_blocks.h"
#include "obj/index/vertex_faces.h"
#include "support/vertex_face_entries.h"

namespace tollgram::obj {
namespace {

using tollgram::test::vertexFaceAt;
using tollgram::test::vertexFaceCount;

// Thirty triangles around vertex 0, a fan: 0 is in every face.
tollgram::test::ModelBuilder fan(uint32_t faces) {
    tollgram::test::ModelBuilder builder(faces + 2);
    for (uint32_t i = 0; i < faces; ++i) builder.face({0, int32_t(i + 1), int32_t(i + 2)}, {"fan"});
    return builder;
}

TEST(VertexFaces, AVertexOfThirtyFacesListsThemAscending) {
    tollgram::test::ModelBuilder builder = fan(30);
    OBJModel& model = builder.model();
    ASSERT_TRUE(buildVertexFaces(model));
    EXPECT_EQ(vertexFaceCount(model, 0), 30);
    for (uint32_t t = 0; t < 30; ++t) ASSERT_EQ(vertexFaceAt(model, 0, t), int32_t(t)) << t;
    EXPECT_EQ(vertexFaceCount(model, 31), 1);
    EXPECT_EQ(vertexFaceAt(model, 31, 0), 29);
}

// A face naming a vertex at two corners is listed twice under it.
TEST(VertexFaces, AVertexAtTwoCornersOfAFaceIsListedTwice) {
    tollgram::test::ModelBuilder builder(3);
    builder.face({0, 1, 0, 2}).face({1, 2, 0});
    OBJModel& model = builder.model();
    ASSERT_TRUE(buildVertexFaces(model));
    ASSERT_EQ(vertexFaceCount(model, 0), 3);
    EXPECT_EQ(vertexFaceAt(model, 0, 0), 0);
    EXPECT_EQ(vertexFaceAt(model, 0, 1), 0);
    EXPECT_EQ(vertexFaceAt(model, 0, 2), 1);
}

TEST(VertexFaces, CountsAndEntriesOutsideTheIndex) {
    tollgram::test::ModelBuilder builder(5);
    builder.face({1, 2, 3}).face({3, 2, 4}).face({4, 3, 1});
    OBJModel& model = builder.model();
    EXPECT_EQ(vertexFaceCount(model, 1), -1) << "no index yet";
    EXPECT_EQ(vertexFaceAt(model, 1, 0), 0);
    ASSERT_TRUE(buildVertexFaces(model));
    struct Case {
        uint32_t vertex;
        std::vector<int32_t> faces;
    };
    const Case cases[] = {{0, {}}, {1, {0, 2}}, {2, {0, 1}}, {3, {0, 1, 2}}, {4, {1, 2}}};
    for (const Case& c : cases) {
        EXPECT_EQ(vertexFaceCount(model, c.vertex), int64_t(c.faces.size())) << c.vertex;
        for (uint32_t t = 0; t < c.faces.size(); ++t) EXPECT_EQ(vertexFaceAt(model, c.vertex, t), c.faces[t]) << c.vertex;
        EXPECT_EQ(vertexFaceAt(model, c.vertex, uint32_t(c.faces.size())), 0) << c.vertex;
    }
    EXPECT_EQ(vertexFaceCount(model, 5), -1) << "beyond the vertices";
    EXPECT_EQ(vertexFaceAt(model, 5, 0), 0);
}

TEST(VertexFaces, BuiltOnceAndKept) {
    tollgram::test::ModelBuilder builder(kVertexBlockSize + 1);
    builder.face({0, 1, int32_t(kVertexBlockSize)});
    OBJModel& model = builder.model();
    ASSERT_TRUE(buildVertexFaces(model));
    VertexFaces* index = model._vertexFaces;
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->vertexCount, kVertexBlockSize + 1);
    EXPECT_EQ(index->starts[kVertexBlockSize + 1], 3u) << "one entry a corner";
    EXPECT_EQ(vertexFaceCount(model, kVertexBlockSize), 1);
    EXPECT_EQ(vertexFaceCount(model, 2), 0);
    ASSERT_TRUE(buildVertexFaces(model));
    EXPECT_EQ(model._vertexFaces, index) << "never rebuilt";
}

TEST(VertexFaces, CornersNamingNoVertexAreLeftOut) {
    tollgram::test::ModelBuilder builder(3);
    builder.face({0, 1, 7}).face({2, -1, 0});
    OBJModel& model = builder.model();
    ASSERT_TRUE(buildVertexFaces(model));
    EXPECT_EQ(vertexFaceCount(model, 0), 2);
    EXPECT_EQ(vertexFaceCount(model, 1), 1);
    EXPECT_EQ(vertexFaceCount(model, 2), 1);
}

// Out of memory at each allocation of the build in turn: the starts, the
// list. Every failure leaves no index.
TEST(VertexFaces, AFailedBuildLeavesNoIndex) {
    uint32_t allocations = 0;
    {
        tollgram::test::ModelBuilder builder = fan(40);
        test::FailingBlocks counting(0);
        ASSERT_TRUE(buildVertexFaces(builder.model()));
        allocations = counting.calls();
    }
    ASSERT_GE(allocations, 2u) << "the starts and the list";
    for (uint32_t failing = 1; failing <= allocations; ++failing) {
        tollgram::test::ModelBuilder builder = fan(40);
        test::FailingBlocks failure(failing);
        EXPECT_FALSE(buildVertexFaces(builder.model())) << failing;
        EXPECT_EQ(builder.model()._vertexFaces, nullptr) << failing;
    }
}

}  // namespace
}  // namespace tollgram::obj
