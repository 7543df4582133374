// A morph-target script replaces the vertices of a large scene again and
// again: after each replace the library holds one model, as much as a fresh
// load of the same file, and nothing of the file the positions came from.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frame/exports.h"
#include "frame/sanitizers.h"
#include "obj/model/block_pool.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"
#include "support/captured_notes.h"
#include "support/process_resources.h"
#include "support/scene_obj.h"
#include "obj/temp_files.h"

namespace tollgram::obj {
namespace {

// Under AddressSanitizer freed memory sits in quarantine: there only the
// slabs held say what the library kept.
#if defined(TOLLGRAM_ADDRESS_SANITIZER)
constexpr bool kMemoryIsMeaningful = false;
#else
constexpr bool kMemoryIsMeaningful = true;
#endif

float load(const std::string& path) { return ::LoadOBJFile(path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr); }
float replace(const std::string& path) { return ::ReplaceOBJVertices(path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr); }
void freeModel() { ::FreeOBJModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr); }

// Every position of the model is the one in the file, every face as loaded.
void expectPositionsOf(const std::string& path, const OBJModel& model, uint32_t faces) {
    OBJModel fresh;
    ASSERT_TRUE(fresh.readOBJ(path));
    ASSERT_EQ(model._vertices._count, fresh._vertices._count);
    uint32_t differing = 0;
    for (uint32_t v = 0; v < fresh._vertices._count; ++v) {
        const Vec4 a = vec4Of(model._vertices.at(v)), b = vec4Of(fresh._vertices.at(v));
        differing += a.x != b.x || a.y != b.y || a.z != b.z || a.w != b.w;
    }
    EXPECT_EQ(differing, 0u) << path;
    EXPECT_EQ(model._faces._count, faces);
}

// About 24 MB of model in several slabs, its parts' vertices, texture
// coordinates, normals and faces interleaved as they are in the file; the
// last block of positions is partly filled.
TEST(ReplaceMemory, AfterEveryReplaceTheLibraryHoldsWhatAFreshLoadHolds) {
    test::TempFolder dir{test::PathForm::Generic};
    tollgram::test::CapturedNotes notes;
    const tollgram::test::SceneShape shape{80, 49};
    const std::string scene = dir.write("scene.obj", tollgram::test::objectByObjectScene(shape, 0.0f));
    const std::string moved = dir.write("moved.obj", tollgram::test::objectByObjectScene(shape, 0.25f));

    // One load and replace first, so that the runtime heap has set up what it
    // keeps for reads (the reading threads' arenas) before memory is measured.
    ASSERT_EQ(load(scene), float(shape.parts));
    ASSERT_EQ(replace(moved), 0.0f);
    freeModel();

    const size_t slabsBefore = poolSlabCount();
    const size_t committedBefore = tollgram::test::committedBytes();
    ASSERT_EQ(load(scene), float(shape.parts));
    const uint32_t faces = objState().currentModel->_faces._count;
    const size_t slabsLoaded = poolSlabCount();
    const size_t committedLoaded = tollgram::test::committedBytes() - committedBefore;
    ASSERT_GE(slabsLoaded, slabsBefore + 3);

    const size_t allowed = committedLoaded + committedLoaded / 20;
    for (int i = 1; i <= 11; ++i) {
        SCOPED_TRACE("replace " + std::to_string(i));
        const std::string& from = i % 2 ? moved : scene;
        ASSERT_EQ(replace(from), 0.0f);
        EXPECT_EQ(poolSlabCount(), slabsLoaded);
        const size_t committed = tollgram::test::committedBytes() - committedBefore;
        if (i == 1 || i == 11) {
            std::printf("committed above the process before the load: %.1f MiB loaded, %.1f MiB after %d replaces\n",
                        double(committedLoaded) / 1048576.0, double(committed) / 1048576.0, i);
            expectPositionsOf(from, *objState().currentModel, faces);
        }
        if (kMemoryIsMeaningful) {
            EXPECT_LE(committed, allowed);
        }
    }
    freeModel();
    EXPECT_EQ(poolSlabCount(), slabsBefore);
    EXPECT_EQ(notes.count(), 0u);
}

// A model read while another is held carves slabs of its own: freed, it
// gives every one back, and the held model keeps exactly its own.
TEST(ReplaceMemory, AModelReadBesideAnotherSharesNoSlabWithIt) {
    test::TempFolder dir{test::PathForm::Generic};
    const std::string scene = dir.write("scene.obj", tollgram::test::objectByObjectScene({3, 50}, 0.0f));
    const size_t slabsBefore = poolSlabCount();
    OBJModel held;
    ASSERT_TRUE(held.readOBJ(scene));
    const size_t slabsHeld = poolSlabCount();
    ASSERT_GT(slabsHeld, slabsBefore);
    {
        OBJModel beside;
        ASSERT_TRUE(beside.readOBJ(scene));
        EXPECT_GT(poolSlabCount(), slabsHeld);
    }
    EXPECT_EQ(poolSlabCount(), slabsHeld);
}

}  // namespace
}  // namespace tollgram::obj
