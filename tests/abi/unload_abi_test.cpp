// A host that loads and unloads Tollgram.dll again and again with a model
// held, as Kavrex does when a script reloads the library: every unload gives
// the model's memory back, and the library keeps no handle of its own.
#include <gtest/gtest.h>

#include <string>

#include "abi/abi_dll.h"
#include "support/process_resources.h"
#include "support/scene_obj.h"
#include "support/temp_folder.h"

namespace {

using tollgram::test::committedBytes;
using tollgram::test::openHandleCount;

// Bytes committed now beyond a figure read earlier; 0 when fewer.
size_t committedAbove(size_t earlier) {
    const size_t now = committedBytes();
    return now > earlier ? now - earlier : 0;
}

class UnloadCycles : public ::testing::Test {
protected:
    void SetUp() override {
        // A copy under a name of its own: the test program keeps Tollgram.dll
        // loaded, and FreeLibrary of it would only lower its count.
        char original[MAX_PATH];
        ASSERT_GT(GetModuleFileNameA(kavrex::dll(), original, MAX_PATH), 0u);
        copy_ = folder_.at("TollgramCycle.dll");
        ASSERT_TRUE(CopyFileA(original, copy_.c_str(), FALSE));
    }

    // Loads the copy, reads the model with it and unloads it.
    void cycle(const std::string& model, float groups) {
        HMODULE library = LoadLibraryA(copy_.c_str());
        ASSERT_NE(library, nullptr);
        auto load = reinterpret_cast<kavrex::ExportFunction>(reinterpret_cast<void*>(GetProcAddress(library, "LoadOBJFile")));
        ASSERT_NE(load, nullptr);
        EXPECT_EQ(load(model.c_str(), 0.0, nullptr, 0, 0, 0, nullptr), groups);
        ASSERT_TRUE(FreeLibrary(library));
        EXPECT_EQ(GetModuleHandleA(copy_.c_str()), nullptr) << "the library stayed loaded";
    }

    // Committed memory and handles that ten cycles added, after one cycle
    // that sets up what the process keeps for good.
    void measureTenCycles(const std::string& model, float groups, size_t& addedBytes, long& addedHandles) {
        cycle(model, groups);
        const size_t committed = committedBytes();
        const size_t handles = openHandleCount();
        for (int i = 0; i < 10; ++i) cycle(model, groups);
        const size_t after = committedBytes();
        addedBytes = after > committed ? after - committed : 0;
        addedHandles = static_cast<long>(openHandleCount()) - static_cast<long>(handles);
    }

    tollgram::test::TempFolder folder_;
    std::string copy_;
};

// The statically linked threading runtime may keep two handles of each
// instance of the library it served; nothing else may stay.
constexpr long kRuntimeHandlesPerCycle = 2;

const char* const kCube =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "f 1 2 3 4\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";

// A small model has one block per array, from the heap: no slab of 8 MiB.
TEST_F(UnloadCycles, ACubeCommitsWellUnderASlab) {
    const std::string cube = folder_.write("cube.obj", kCube);
    ASSERT_EQ(kavrex::call("LoadOBJFile", nullptr), 0.0f);
    const size_t before = committedBytes();
    ASSERT_EQ(kavrex::call("LoadOBJFile", cube.c_str()), 1.0f);
    const size_t held = committedBytes();
    EXPECT_LT(held, before + (2u << 20)) << "committed before " << before;
    kavrex::call("FreeOBJModel");
}

TEST_F(UnloadCycles, ACubeHeldAtEveryUnloadLeavesNothingOfTheLibrary) {
    const std::string cube = folder_.write("cube.obj", kCube);
    size_t addedBytes = 0;
    long addedHandles = 0;
    measureTenCycles(cube, 1.0f, addedBytes, addedHandles);
    std::printf("10 unload cycles with a cube held: %+.1f KB committed, %+ld handles\n", static_cast<double>(addedBytes) / 1024.0,
                addedHandles);
    EXPECT_LT(addedBytes, size_t{1} << 20);
    EXPECT_LE(addedHandles, 10 * kRuntimeHandlesPerCycle);
}

TEST_F(UnloadCycles, AModelOfManyBlocksHeldAtEveryUnloadIsGivenBack) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "v " + std::to_string(i) + " 0 0\n";
    for (int i = 1; i + 2 <= 20000; ++i) {
        text += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
    }
    const std::string model = folder_.write("strip.obj", text);
    size_t addedBytes = 0;
    long addedHandles = 0;
    measureTenCycles(model, 1.0f, addedBytes, addedHandles);
    std::printf("10 unload cycles with a 20,000-face model held: %+.1f KB committed, %+ld handles\n",
                static_cast<double>(addedBytes) / 1024.0, addedHandles);
    EXPECT_LT(addedBytes, size_t{1} << 20);
    EXPECT_LE(addedHandles, 10 * kRuntimeHandlesPerCycle);
}

// Kavrex may load and unload the library many times while it runs: the C++
// runtime linked into the DLL gives back at each unload what it took at the
// load (its reserve for exceptions thrown out of memory: 19 KB in the 32-bit
// DLL, 71 KB in the 64-bit one), and the threads runtime its TLS slot, of
// which a process has 1,088: more cycles than that, each one loading.
TEST_F(UnloadCycles, MoreLoadsAndUnloadsThanTlsSlotsKeepUnderAMegabyte) {
    constexpr int kCycles = 1100;
    auto loadAndFree = [&] {
        HMODULE library = LoadLibraryA(copy_.c_str());
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(FreeLibrary(library));
    };
    // The first cycles set up what the process keeps for good.
    for (int i = 0; i < 5; ++i) loadAndFree();
    const size_t committed = committedBytes();
    const size_t resident = tollgram::test::residentBytes();
    for (int i = 0; i < kCycles; ++i) loadAndFree();
    const size_t addedCommitted = committedAbove(committed);
    const size_t residentNow = tollgram::test::residentBytes();
    const size_t addedResident = residentNow > resident ? residentNow - resident : 0;
    std::printf("%d load and unload cycles: %+.1f KB committed, %+.1f KB resident\n", kCycles,
                static_cast<double>(addedCommitted) / 1024.0, static_cast<double>(addedResident) / 1024.0);
    EXPECT_LT(addedCommitted, size_t{1} << 20);
    EXPECT_LT(addedResident, size_t{1} << 20);
}

// A morph-target script replaces the vertices of a scene written object by
// object, part after part, from a second file of the same shape, again and
// again: after each replace the library commits what a fresh load of the
// scene commits, within 5%, and nothing of the file the positions came from.
TEST_F(UnloadCycles, ReplacingVerticesCommitsWhatAFreshLoadCommits) {
    const tollgram::test::SceneShape shape{80, 49};
    const std::string scene = folder_.write("scene.obj", tollgram::test::objectByObjectScene(shape, 0.0f));
    const std::string moved = folder_.write("moved.obj", tollgram::test::objectByObjectScene(shape, 0.25f));
    // One load and replace first, so that the heap has set up what it keeps
    // for reads before memory is measured.
    ASSERT_EQ(kavrex::call("LoadOBJFile", scene.c_str()), float(shape.parts));
    ASSERT_EQ(kavrex::call("ReplaceOBJVertices", moved.c_str()), 0.0f);
    ASSERT_EQ(kavrex::call("LoadOBJFile", nullptr), 0.0f);
    const size_t before = committedBytes();
    ASSERT_EQ(kavrex::call("LoadOBJFile", scene.c_str()), float(shape.parts));
    const size_t loaded = committedAbove(before);
    ASSERT_GT(loaded, size_t{20} << 20) << "the scene should take several slabs";

    const size_t allowed = loaded + loaded / 20;
    for (int i = 1; i <= 11; ++i) {
        ASSERT_EQ(kavrex::call("ReplaceOBJVertices", (i % 2 ? moved : scene).c_str()), 0.0f) << i;
        const size_t held = committedAbove(before);
        if (i == 1 || i == 11) {
            std::printf("committed above the process before the load: %.1f MB loaded, %.1f MB after %d replaces\n",
                        double(loaded) / 1e6, double(held) / 1e6, i);
        }
        EXPECT_LE(held, allowed) << "after replace " << i;
    }
    EXPECT_EQ(kavrex::call("GetOBJInfo", "vertexCount"), float(shape.vertexCount()));
    kavrex::call("FreeOBJModel");
}

}  // namespace
