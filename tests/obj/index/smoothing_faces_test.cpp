#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "obj/failing_blocks.h"
#include "obj/index/smoothing_faces.h"
#include "support/test_models.h"

namespace tollgram::obj {
namespace {

using tollgram::test::ModelBuilder;

// Random smoothing-group numbers, some faces with none (0, which the
// builder does not register) and, in every fourth model, numbers registered
// in an order of their own; each registered number lists exactly the faces
// that have it, ascending, and any other number lists none.
TEST(SmoothingFaces, ListsTheFacesOfEachRegisteredNumber) {
    std::mt19937 rng(10122027);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    for (int round = 0; round < 100; ++round) {
        ModelBuilder builder(3);
        const int faces = pick(0, 300);
        for (int i = 0; i < faces; ++i) builder.face({0, 1, 2}, {"all"}, uint32_t(pick(0, 5) == 0 ? 0 : pick(1, 40)));
        OBJModel& model = builder.model();
        if (round % 4 == 0 && model._smoothingGroupCount > 1) {
            std::shuffle(model._smoothingGroups, model._smoothingGroups + model._smoothingGroupCount, rng);
        }
        ASSERT_TRUE(buildSmoothingFaces(model));
        for (uint32_t number = 0; number <= 41; ++number) {
            bool registered = false;
            for (uint32_t k = 0; k < model._smoothingGroupCount; ++k) registered = registered || model._smoothingGroups[k] == number;
            std::vector<uint32_t> expected;
            for (uint32_t f = 0; registered && f < model._faces._count; ++f) {
                if (faceValueAt(model, f)._smoothingGroup == number) expected.push_back(f);
            }
            const FaceSpan span = facesOfSmoothingGroup(*model._smoothingFaces, number);
            ASSERT_EQ(std::vector<uint32_t>(span.begin(), span.end()), expected) << "round " << round << " number " << number;
        }
    }
}

TEST(SmoothingFaces, ABuildThatFailsLeavesNoIndex) {
    ModelBuilder builder(3);
    builder.face({0, 1, 2}, {"a"}, 4).face({0, 1, 2}, {"a"}, 9).face({0, 1, 2}, {"a"}, 4);
    OBJModel& model = builder.model();
    {
        test::FailingBlocks failing(1);
        EXPECT_FALSE(buildSmoothingFaces(model));
    }
    EXPECT_EQ(model._smoothingFaces, nullptr);
    ASSERT_TRUE(buildSmoothingFaces(model));
    const FaceSpan four = facesOfSmoothingGroup(*model._smoothingFaces, 4);
    EXPECT_EQ(std::vector<uint32_t>(four.begin(), four.end()), (std::vector<uint32_t>{0, 2}));
}

}  // namespace
}  // namespace tollgram::obj
