#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "obj/failing_blocks.h"
#include "obj/index/edge_faces.h"
#include "support/test_models.h"

namespace tollgram::obj {
namespace {

using tollgram::test::ModelBuilder;

bool uses(const std::vector<int32_t>& corners, uint32_t v) {
    return std::find(corners.begin(), corners.end(), int32_t(v)) != corners.end();
}

// Random faces of three to eight corners on few vertices, now and then a
// vertex named at two corners, or a corner of no vertex of the model; each
// pair of vertices is held against the faces themselves: an edge when some
// face joins the two by an edge, and then every face using both, ascending.
TEST(EdgeFaces, ListsEveryFaceUsingBothVerticesOfEachEdge) {
    std::mt19937 rng(10122026);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    for (int round = 0; round < 200; ++round) {
        const auto vertices = uint32_t(pick(2, 24));
        ModelBuilder builder(vertices);
        std::vector<std::vector<int32_t>> faces(size_t(pick(0, 60)));
        bool repeated = false;
        for (std::vector<int32_t>& corners : faces) {
            const int n = pick(1, 8);
            while (int(corners.size()) < n) {
                int32_t v = pick(0, int(vertices) - 1);
                if (pick(0, 40) == 0) v = int32_t(vertices) + pick(0, 3);  // no vertex of the model
                if (uses(corners, uint32_t(v)) && pick(0, 20) != 0) continue;
                if (uses(corners, uint32_t(v)) && v < int32_t(vertices)) repeated = true;
                corners.push_back(v);
            }
            builder.face(corners, {"all"});
        }
        OBJModel& model = builder.model();
        ASSERT_TRUE(buildEdgeFaces(model));
        const EdgeFaces& index = *model._edgeFaces;
        EXPECT_EQ(index.repeatedCorners, repeated) << "round " << round;
        for (uint32_t x = 0; x < vertices; ++x) {
            for (uint32_t y = 0; y < vertices; ++y) {
                bool edge = false;
                std::vector<uint32_t> expected;
                for (size_t h = 0; h < faces.size(); ++h) {
                    const std::vector<int32_t>& c = faces[h];
                    for (size_t j = 0; j < c.size(); ++j) {
                        const int32_t a = c[j];
                        const int32_t b = c[(j + 1) % c.size()];
                        edge = edge || (x != y && ((a == int32_t(x) && b == int32_t(y)) || (a == int32_t(y) && b == int32_t(x))));
                    }
                    if (uses(c, x) && uses(c, y)) expected.push_back(uint32_t(h));
                }
                const uint32_t found = findEdge(index, x, y);
                ASSERT_EQ(found != kNoEdge, edge) << "round " << round << " vertices " << x << ", " << y;
                if (!edge) continue;
                EXPECT_EQ(findEdge(index, y, x), found) << "either order";
                const FaceSpan span = facesOfEdge(index, found);
                EXPECT_EQ(std::vector<uint32_t>(span.begin(), span.end()), expected)
                    << "round " << round << " vertices " << x << ", " << y;
            }
        }
        EXPECT_EQ(findEdge(index, 0, vertices), kNoEdge) << "a vertex beyond the model";
    }
}

TEST(EdgeFaces, MarksOfEarlierRoundsNeverCount) {
    ModelBuilder builder(4);
    builder.face({0, 1, 2}, {"a"}).face({2, 1, 3}, {"b"});
    OBJModel& model = builder.model();
    ASSERT_TRUE(buildEdgeFaces(model));
    EdgeFaces& index = *model._edgeFaces;
    unmarkAllFaces(index);
    markFace(index, 1);
    markFace(index, 7);  // no face of the model: nothing to mark
    EXPECT_FALSE(isMarked(index, 0));
    EXPECT_TRUE(isMarked(index, 1));
    EXPECT_FALSE(isMarked(index, 7));
    unmarkAllFaces(index);
    EXPECT_FALSE(isMarked(index, 1));

    // The round numbers come round: a mark of round 1, long past, must not
    // count in the new round 1.
    index.marks[0] = 1;
    index.markRound = UINT32_MAX - 1;
    unmarkAllFaces(index);
    markFace(index, 1);
    EXPECT_TRUE(isMarked(index, 1));
    unmarkAllFaces(index);
    EXPECT_EQ(index.markRound, 1u);
    EXPECT_FALSE(isMarked(index, 0));
    EXPECT_FALSE(isMarked(index, 1));
}

// Each of the build's allocations failing in turn: the model is left with
// no index, and the next build makes the whole one.
TEST(EdgeFaces, ABuildThatFailsLeavesNoIndex) {
    ModelBuilder builder(6);
    builder.face({0, 1, 4, 3}, {"A"}).face({1, 2, 5, 4}, {"B"});
    OBJModel& model = builder.model();
    uint32_t failures = 0;
    for (uint32_t n = 1;; ++n) {
        bool built = false;
        {
            test::FailingBlocks failing(n);
            built = buildEdgeFaces(model);
        }
        if (built) break;
        ++failures;
        EXPECT_EQ(model._edgeFaces, nullptr) << "allocation " << n;
        ASSERT_LT(n, 100u);
    }
    EXPECT_GE(failures, 4u) << "the marks, the edges by vertex, their ends and the faces";
    const uint32_t shared = findEdge(*model._edgeFaces, 4, 1);
    ASSERT_NE(shared, kNoEdge);
    const FaceSpan span = facesOfEdge(*model._edgeFaces, shared);
    EXPECT_EQ(std::vector<uint32_t>(span.begin(), span.end()), (std::vector<uint32_t>{0, 1}));
}

}  // namespace
}  // namespace tollgram::obj
