// Loading and replacing with every allocation of the read failing in turn,
// operator new included (texts, names, map entries): the export fails
// cleanly, leaves no half-read model, and leaks nothing (LeakSanitizer).
#include <gtest/gtest.h>

#include <string>

#include "frame/call_frame.h"
#include "frame/exports.h"
#include "support/module_reset.h"
#include "hardening/allocation_failures.h"
#include "hardening/failure_walk.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"
#include "obj/read/read_plan.h"
#include "obj/same_models.h"
#include "obj/temp_files.h"
#include "support/captured_notes.h"
#include "support/export_work.h"

namespace tollgram {
namespace {

TEST(ObjLoadAllocation, EveryFailedAllocationFailsTheExport) {
    test::TempFolder dir{test::PathForm::Generic};
    dir.write("lib.mtl", "newmtl a_material_with_a_long_name\nKd 1 0 0\nmap_Kd some/long/texture/path.png\n");
    const std::string path = dir.write("model.obj",
                                       "mtllib lib.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nl 1 2\n"
                                       "g first_group_with_a_long_name second_group_with_a_long_name\n"
                                       "usemtl a_material_with_a_long_name\ns 2\nf 1 2 3\ng third\nf 1 3 4\n");
    const std::string moved = dir.write("moved.obj", "v 5 5 5\nv 6 6 6\nv 7 7 7\nv 8 8 8\n");
    test::CapturedNotes notes;
    // The work itself, not the export's guard, so that a throw shows.
    auto load = [&] {
        float result = -99.0f;
        EXPECT_NO_THROW(result = tollgram::test::resultOfWork(&tollgram::exports::LoadOBJFile, CallFrame{path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr}));
        return result;
    };
    auto replace = [&] {
        float result = -99.0f;
        EXPECT_NO_THROW(result = tollgram::test::resultOfWork(&tollgram::exports::ReplaceOBJVertices, CallFrame{moved.c_str(), 0.0, nullptr, 0, 0, 0, nullptr}));
        return result;
    };

    const long points = test::walkFailurePoints("load and replace walk", [&](long n) {
        float result;
        bool reached;
        {
            test::AllocationFailures failures(n);
            result = load();
            reached = failures.failed();
        }
        if (reached) {
            EXPECT_EQ(result, 0.0f);
            EXPECT_EQ(obj::objState().currentModel, nullptr);
        } else {
            EXPECT_EQ(result, 3.0f);
        }
        EXPECT_EQ(load(), 3.0f);
        if (obj::objState().currentModel == nullptr) return false;
        {
            test::AllocationFailures failures(n);
            result = replace();
            if (failures.failed()) {
                EXPECT_TRUE(result == -1.0f || result == -2.0f) << result;
                EXPECT_EQ(obj::objState().currentModel->_vertices.at(0).x, 0.0f);
            }
        }
        ::FreeOBJModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr);
        return reached;
    });
    EXPECT_GT(points, 20);
}

// The parallel read, with every allocation of every thread failing in turn:
// the chunks' text and records, the threads themselves, the model's blocks
// and lists as the chunks are joined. A failure ends the read with no model
// and nothing leaked, all threads joined; or, where it only meant a thread
// fewer, the read succeeds with the very model of the one-thread read.
TEST(ObjLoadAllocation, EveryFailedAllocationOfTheParallelReadFailsCleanly) {
    test::TempFolder dir{test::PathForm::Generic};
    dir.write("lib.mtl", "newmtl red\nKd 1 0 0\nnewmtl blue\n");
    std::string text = "mtllib lib.mtl\n";
    for (int i = 0; i < 30; ++i) text += "v " + std::to_string(i) + " 0 0\nvt 0 " + std::to_string(i) + "\nvn 0 0 1\n";
    text += "g a b\nusemtl red\ns 1\nf 1/1/1 2/2/1 3/3/1\nf -1/-1/-1 -2/-2/-1 -3/-3/-1\nl 1 2\n";
    for (int i = 1; i + 2 <= 30; ++i) {
        if (i % 9 == 0) text += "g c" + std::to_string(i) + "\nusemtl blue\ns " + std::to_string(i) + "\n";
        text += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
    }
    const std::string path = dir.write("model.obj", text);
    obj::OBJModel reference;
    ASSERT_TRUE(reference.readOBJ(path)) << reference._errorText;
    const float groups = float(reference._groupNames.size());

    const obj::ForcedReading threeThreads{3, 40};
    obj::forceReading(&threeThreads);
    test::CapturedNotes notes;
    long failed = 0;
    const long points = test::walkFailurePoints("parallel load walk", [&](long n) {
        float result = -99.0f;
        bool reached;
        {
            test::AllocationFailures failures(n);
            EXPECT_NO_THROW(result = tollgram::test::resultOfWork(&tollgram::exports::LoadOBJFile, CallFrame{path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr}));
            reached = failures.failed();
        }
        if (result == 0.0f) {
            EXPECT_TRUE(reached);
            EXPECT_EQ(obj::objState().currentModel, nullptr);
            ++failed;
        } else {
            EXPECT_EQ(result, groups);
            if (obj::objState().currentModel) {
                EXPECT_EQ(obj::test::modelDifference(*obj::objState().currentModel, reference), "");
            }
        }
        ::FreeOBJModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr);
        return reached;
    });
    obj::forceReading(nullptr);
    EXPECT_GT(points, 40);
    EXPECT_GT(failed, points / 2);
}

}  // namespace
}  // namespace tollgram
