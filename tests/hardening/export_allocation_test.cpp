// Queries and exports of a loaded model with every allocation they make
// failing in turn: each call gives its usual result or its failure code, an
// export that fails leaves the file it was to write as it was, and one
// that succeeds wrote the whole file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/call_frame.h"
#include "frame/exports.h"
#include "support/module_reset.h"
#include "hardening/allocation_failures.h"
#include "hardening/failure_walk.h"
#include "obj/current_model.h"
#include "obj/temp_files.h"
#include "support/export_work.h"

namespace tollgram {
namespace {

constexpr const char* kMaterials =
    "newmtl red_paint\nKd 1 0 0\nnewmtl blue_paint_with_a_long_name\nKd 0 0 1\nmap_Kd textures/blue.png\n";

// Three groups (one face in two of them), two materials, two smoothing
// groups, texture coordinates and normals: every kind of line the whole
// model writer has.
constexpr const char* kModel =
    "mtllib paints.mtl\n"
    "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\nv 0 2 0\nv 1 2 0\nv 2 2 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
    "g lower_left_group_with_a_long_name\nusemtl red_paint\ns 1\n"
    "f 1/1/1 2/2/1 5/3/1 4/4/1\n"
    "g lower_right shared_part\nf 2/1/1 3/2/1 6/3/1 5/4/1\n"
    "g shared_part\nusemtl blue_paint_with_a_long_name\ns 7\n"
    "f 4//1 5//1 8//1 7//1\nf 5 6 9 8\n";

struct Step {
    const char* name;
    ExportWork work;
    const char* key;     // the key, or null when text is the step's file
    double value;
    bool writesFile;
};

const Step kSteps[] = {
    {"GetOBJInfo vertexCount", &exports::GetOBJInfo, "vertexCount", 0.0, false},
    {"GetOBJInfo faceCount", &exports::GetOBJInfo, "faceCount", 0.0, false},
    {"GetOBJInfo groupCount", &exports::GetOBJInfo, "groupCount", 0.0, false},
    {"GetOBJInfo smoothGroupCount", &exports::GetOBJInfo, "smoothGroupCount", 0.0, false},
    {"GetOBJGroupInfo name", &exports::GetOBJGroupInfo, "name", 1.0, false},
    {"GetOBJGroupInfo vertexCount", &exports::GetOBJGroupInfo, "vertexCount", 3.0, false},
    {"GetOBJSmoothGroupInfo count", &exports::GetOBJSmoothGroupInfo, "count", 0.0, false},
    {"GetOBJSmoothGroupInfo value", &exports::GetOBJSmoothGroupInfo, "value", 2.0, false},
    {"ExportOBJGroup whole model", &exports::ExportOBJGroup, nullptr, 0.0, true},
    {"ExportOBJGroup group", &exports::ExportOBJGroup, nullptr, 3.0, true},
    {"ExportOBJSmoothGroup", &exports::ExportOBJSmoothGroup, nullptr, 2.0, true},
};
constexpr size_t kStepCount = std::size(kSteps);

constexpr const char* kEarlierContent = "an earlier file\n";

struct Outcome {
    float result[kStepCount];
    std::string name;       // what "name" left in the buffer
    std::string file[kStepCount];
};

class ExportAllocation : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.write("paints.mtl", kMaterials);
        const std::string model = dir_.write("model.obj", kModel);
        ASSERT_EQ(::LoadOBJFile(model.c_str(), 0.0, nullptr, 0, 0, 0, nullptr), 3.0f);
        for (size_t i = 0; i < kStepCount; ++i) paths_[i] = dir_.pathOf("export" + std::to_string(i) + ".obj");
    }
    void TearDown() override { ::FreeOBJModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr); }

    // Every step once, with the n-th allocation over all of them failing
    // (n 0: none). Files are prepared and read back outside the armed span.
    Outcome runSteps(long n, bool& reached) {
        Outcome outcome{};
        for (size_t i = 0; i < kStepCount; ++i) {
            if (kSteps[i].writesFile) dir_.write("export" + std::to_string(i) + ".obj", kEarlierContent);
        }
        char buffer[64] = "untouched";
        {
            test::AllocationFailures failures(n);
            for (size_t i = 0; i < kStepCount; ++i) {
                const Step& step = kSteps[i];
                const CallFrame frame{step.writesFile ? paths_[i].c_str() : step.key, step.value, buffer,
                                      sizeof buffer, 0, 0, nullptr};
                outcome.result[i] = -99.0f;
                EXPECT_NO_THROW(outcome.result[i] = test::resultOfWork(step.work, frame)) << step.name;
            }
            reached = n != 0 && failures.failed();
        }
        outcome.name = buffer;
        for (size_t i = 0; i < kStepCount; ++i) {
            if (kSteps[i].writesFile) outcome.file[i] = test::contentOf(paths_[i]);
        }
        return outcome;
    }

    test::TempFolder dir_{test::PathForm::Generic};
    std::string paths_[kStepCount];
    test::CapturedNotes notes_;
};

TEST_F(ExportAllocation, EveryFailureGivesTheFailureCodeOrTheWholeResult) {
    bool reached = false;
    const Outcome reference = runSteps(0, reached);
    for (size_t i = 0; i < kStepCount; ++i) {
        if (kSteps[i].writesFile) {
            ASSERT_EQ(reference.result[i], 0.0f) << kSteps[i].name;
            ASSERT_NE(reference.file[i], kEarlierContent) << kSteps[i].name;
        }
    }
    ASSERT_EQ(reference.name, "lower_left_group_with_a_long_name");

    long failedExports = 0;
    const long points = test::walkFailurePoints("query and export walk", [&](long n) {
        bool hit = false;
        const Outcome outcome = runSteps(n, hit);
        for (size_t i = 0; i < kStepCount; ++i) {
            const Step& step = kSteps[i];
            const float failure = test::failureResultOf(step.work);
            EXPECT_TRUE(outcome.result[i] == reference.result[i] || outcome.result[i] == failure)
                << step.name << " gave " << outcome.result[i];
            if (!step.writesFile) continue;
            if (outcome.result[i] == 0.0f) {
                EXPECT_EQ(outcome.file[i], reference.file[i]) << step.name << ": success, yet not the whole file";
            } else {
                ++failedExports;
                EXPECT_EQ(outcome.file[i], kEarlierContent) << step.name << ": failed, yet the file changed";
            }
        }
        EXPECT_TRUE(outcome.name == reference.name || outcome.name.empty()) << outcome.name;
        EXPECT_NE(obj::objState().currentModel, nullptr);
        return hit;
    });
    // Each export needs at least its output buffer, the whole model also its
    // index of first groups.
    EXPECT_GT(points, 3);
    EXPECT_GT(failedExports, 2);
    EXPECT_EQ(notes_.count(), 0u) << notes_.lastCaption() << ": " << notes_.lastText();

    // The model is as it was: the same calls give the same results.
    const Outcome after = runSteps(0, reached);
    for (size_t i = 0; i < kStepCount; ++i) {
        EXPECT_EQ(after.result[i], reference.result[i]) << kSteps[i].name;
        if (kSteps[i].writesFile) {
            EXPECT_EQ(after.file[i], reference.file[i]) << kSteps[i].name;
        }
    }
}

}  // namespace
}  // namespace tollgram
