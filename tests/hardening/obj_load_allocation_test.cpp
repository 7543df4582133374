// Loading and replacing with every allocation of the read failing in turn,
// operator new included (texts, names, map entries): the export fails
// cleanly, leaves no half-read model, and leaks nothing (LeakSanitizer).
#include <gtest/gtest.h>

#include <string>

#include "frame/call_frame.h"
#include "frame/exports.h"
#include "frame/module_state.h"
#include "hardening/allocation_failures.h"
#include "hardening/failure_walk.h"
#include "obj/obj_model.h"
#include "obj/temp_files.h"
#include "support/captured_notes.h"

namespace tollgram {
namespace {

TEST(ObjLoadAllocation, EveryFailedAllocationFailsTheExport) {
    obj::test::TempDir dir;
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
        EXPECT_NO_THROW(result = work::LoadOBJFile(CallFrame{path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr}));
        return result;
    };
    auto replace = [&] {
        float result = -99.0f;
        EXPECT_NO_THROW(result = work::ReplaceOBJVertices(CallFrame{moved.c_str(), 0.0, nullptr, 0, 0, 0, nullptr}));
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
            EXPECT_EQ(moduleState().currentModel, nullptr);
        } else {
            EXPECT_EQ(result, 3.0f);
        }
        EXPECT_EQ(load(), 3.0f);
        if (moduleState().currentModel == nullptr) return false;
        {
            test::AllocationFailures failures(n);
            result = replace();
            if (failures.failed()) {
                EXPECT_TRUE(result == -1.0f || result == -2.0f) << result;
                EXPECT_EQ(moduleState().currentModel->_vertices.at(0).x, 0.0f);
            }
        }
        ::FreeOBJModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr);
        return reached;
    });
    EXPECT_GT(points, 20);
}

}  // namespace
}  // namespace tollgram
