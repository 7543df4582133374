// The first crease transfer builds the model's vertex-to-faces index; with
// each of its allocations failing in turn the transfer fails without
// touching the host mesh, the model keeps no half-built index, and the next
// transfer builds it and gives the right creases.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/call_frame.h"
#include "frame/exports.h"
#include "support/module_reset.h"
#include "hardening/allocation_failures.h"
#include "hardening/failure_walk.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"
#include "obj/temp_files.h"
#include "substitute_host/substitute_host.h"
#include "support/export_work.h"

namespace tollgram {
namespace {

constexpr int32_t kRing = 30;
// More vertices than one block of the index holds, so that the index takes
// two blocks.
constexpr int32_t kVertexCount = 1 + kRing + 4100;
constexpr int32_t kFaceCount = kRing;

// A fan of 30 triangles around vertex 1: its chain needs three links, so
// the build allocates links of its own beside the blocks. The first half
// of the fan is one group, the second another.
std::string fanModel() {
    std::string text = "v 0 0 0\n";
    for (int32_t i = 0; i < kVertexCount - 1; ++i) text += "v " + std::to_string(i) + " 1 0\n";
    for (int32_t i = 0; i < kRing; ++i) {
        if (i == 0) text += "g first_half\ns 1\n";
        if (i == kRing / 2) text += "g second_half\ns 2\n";
        text += "f 1 " + std::to_string(2 + i) + " " + std::to_string(2 + (i + 1) % kRing) + "\n";
    }
    return text;
}

std::vector<uint8_t> creaseBytes(substitute::SubstituteHost& host) {
    std::vector<uint8_t> bytes;
    for (int32_t p = 0; p < kFaceCount; ++p) bytes.push_back(host.creaseByte(p));
    return bytes;
}

void clearCreases(substitute::SubstituteHost& host) {
    for (int32_t p = 0; p < kFaceCount; ++p) std::memset(host.polygonEntry(p), 0, 4);
}

TEST(CreaseAllocation, AFailedIndexBuildFailsTheTransferAndTheNextOneSucceeds) {
    test::TempFolder dir{test::PathForm::Generic};
    const std::string path = dir.write("fan.obj", fanModel());
    substitute::SubstituteHost host;
    host.setMesh(kVertexCount, kFaceCount);
    test::CapturedNotes notes;
    auto load = [&] { return ::LoadOBJFile(path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr); };
    const CallFrame crease{"crease", 1.0, nullptr, 0, 0, 0, host.context()};

    // The two edges where the halves meet, on the first and the last
    // triangle of the first half.
    ASSERT_EQ(load(), 2.0f);
    ASSERT_EQ(tollgram::test::resultOfWork(&tollgram::exports::SetMesh3DFromOBJGroup, crease), 2.0f);
    const std::vector<uint8_t> expected = creaseBytes(host);
    const std::vector<uint8_t> none(kFaceCount, 0);
    ASSERT_NE(expected, none);

    const long points = test::walkFailurePoints("crease index walk", [&](long n) {
        EXPECT_EQ(load(), 2.0f);  // a new model: no index yet
        clearCreases(host);
        float result = -99.0f;
        bool reached = false;
        {
            test::AllocationFailures failures(n);
            EXPECT_NO_THROW(result = tollgram::test::resultOfWork(&tollgram::exports::SetMesh3DFromOBJGroup, crease));
            reached = failures.failed();
        }
        const obj::OBJModel* model = obj::objState().currentModel;
        EXPECT_NE(model, nullptr);
        if (model == nullptr) return false;
        if (result == -1.0f) {
            EXPECT_TRUE(reached) << "failed without a failed allocation";
            EXPECT_EQ(creaseBytes(host), none) << "a failed transfer wrote creases";
            EXPECT_EQ(model->_vertexFaces, nullptr) << "a half-built index was kept";
            EXPECT_EQ(tollgram::test::resultOfWork(&tollgram::exports::SetMesh3DFromOBJGroup, crease), 2.0f) << "the next transfer";
        } else {
            EXPECT_EQ(result, 2.0f);
        }
        EXPECT_EQ(creaseBytes(host), expected);
        EXPECT_NE(model->_vertexFaces, nullptr);
        return reached;
    });
    // The index itself, its two blocks and the block list, the extra links
    // of the fan's centre, and the edge index's arrays.
    EXPECT_GT(points, 5);
    EXPECT_EQ(notes.count(), 0u) << notes.lastCaption() << ": " << notes.lastText();
    ::FreeOBJModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr);
}

}  // namespace
}  // namespace tollgram
