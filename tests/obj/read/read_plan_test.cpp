// How a file is cut for reading: the thread count follows the processors
// the process may use and the file's size, and the line count that places
// each chunk's records agrees with the parser line for line.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "obj/read/line_count.h"
#include "obj/model/obj_model.h"
#include "obj/read/read_plan.h"
#include "support/process_resources.h"
#include "support/scoped_system.h"
#include "support/temp_folder.h"

namespace tollgram::obj {
namespace {

unsigned g_processors = 1;
const char* g_threadsSetting = nullptr;

// The plan for a file with the processors and the setting given.
ReadPlan planWith(uint64_t fileBytes, unsigned processors, const char* threadsSetting = nullptr) {
    test::ScopedSystem system;
    g_processors = processors;
    g_threadsSetting = threadsSetting;
    system.calls().process.usableProcessors = [] { return g_processors; };
    system.calls().process.setting = [](const char*) { return g_threadsSetting; };
    return planRead(fileBytes);
}

TEST(ReadPlan, ThreadsFollowTheProcessorsTheProcessMayUse) {
    const size_t mesh = size_t{100} << 20;
    EXPECT_EQ(planWith(mesh, 1).threads, 1u);
    EXPECT_EQ(planWith(mesh, 1).chunkBytes, kAloneChunkBytes);
    EXPECT_EQ(planWith(mesh, 2).threads, 2u);
    EXPECT_EQ(planWith(mesh, 2).chunkBytes, kParallelChunkBytes);
    EXPECT_EQ(planWith(mesh, 64).threads, kMaxReadThreads);
    // A small file is read by one thread, whatever the machine.
    EXPECT_EQ(planWith(kParallelMinimumBytes - 1, 8).threads, 1u);
    const ReadPlan few = planWith(kParallelMinimumBytes, 8);
    EXPECT_GT(few.threads, 1u);
    EXPECT_LE(few.threads, kParallelMinimumBytes / few.chunkBytes + 1) << "no more threads than chunks";
}

// The processors the process may run on, not the machine's: a host held to
// one processor reads with one thread.
TEST(ReadPlan, AProcessHeldToOneProcessorReadsWithOneThread) {
    test::OneProcessor one;
    ASSERT_TRUE(one.held());
    EXPECT_EQ(platform::systemCalls().process.usableProcessors(), 1u);
    test::ScopedSystem system;
    system.calls().process.setting = [](const char*) -> const char* { return nullptr; };
    EXPECT_EQ(planRead(size_t{100} << 20).threads, 1u);
}

TEST(ReadPlan, TheSettingChoosesTheThreadsAndOnlyAWholeNumberCounts) {
    const size_t mesh = size_t{100} << 20;
    EXPECT_EQ(planWith(mesh, 1, "3").threads, 3u);
    EXPECT_EQ(planWith(mesh, 8, "1").threads, 1u);
    EXPECT_EQ(planWith(kParallelMinimumBytes * 2, 1, "2").threads, 2u);
    EXPECT_EQ(planWith(mesh, 2, "99").threads, kMaxReadThreads);
    for (const char* ignored : {"", "0", "-2", "two", "2x"}) {
        EXPECT_EQ(planWith(mesh, 2, ignored).threads, 2u) << '"' << ignored << '"';
    }
}

// Sizes past what a 32-bit size holds: a file of 4 GiB and a little is the
// large file it is, never the little it would wrap to, and the count of
// chunks does not wrap either.
TEST(ReadPlan, AFilePast4GiBIsPlannedAsTheLargeFileItIs) {
    const uint64_t justPast4GiB = (uint64_t{1} << 32) + (uint64_t{1} << 20);
    EXPECT_EQ(planWith(justPast4GiB, 2).threads, 2u);
    EXPECT_EQ(planWith(justPast4GiB, 2).chunkBytes, kParallelChunkBytes);
    EXPECT_EQ(planWith(justPast4GiB, 64).threads, kMaxReadThreads);
    EXPECT_EQ(planWith(UINT64_MAX, 4).threads, 4u);

    const ForcedReading oneByteChunks{3, 1};
    forceReading(&oneByteChunks);
    const ReadPlan largest = planRead(UINT64_MAX);
    const ReadPlan oneByte = planRead(1);
    forceReading(nullptr);
    EXPECT_EQ(largest.threads, 3u);
    EXPECT_EQ(largest.chunkBytes, 1u);
    EXPECT_EQ(oneByte.threads, 2u);
}

// Lines of every kind with every line end, cut anywhere across the
// count's 16-byte steps: the coordinates counted are those the one-thread
// read stores, and every line it reads as a face line is counted.
TEST(LineCount, CountsTheLinesAsTheParserReadsThem) {
    const std::string fragments[] = {"v 1 2 3", "vt 1 2", "VN 0 0 1", "vT 1", "vp 1 2", "V", "vn", "f 1 2 3",
                                     "F 3 2 1", "f", "f 1 2 x", " v 1 2 3", "\tf 1 2 3", "#v 1", "g v",
                                     "usemtl f", "v 1\0 2", "", "o v", "\0v 1"};
    const char* const ends[] = {"\n", "\r", "\r\n", "\n\r", "\n\n"};
    std::mt19937 random(1209);
    test::TempFolder folder;
    for (int file = 0; file < 40; ++file) {
        std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
        uint32_t faceLines = 0;
        const int lines = 1 + int(random() % 200);
        for (int i = 0; i < lines; ++i) {
            const std::string& fragment = fragments[random() % std::size(fragments)];
            if (!fragment.empty() && (fragment[0] == 'f' || fragment[0] == 'F')) ++faceLines;
            text += fragment;
            text += ends[random() % std::size(ends)];
        }
        SCOPED_TRACE("file " + std::to_string(file));
        const std::string path = folder.write("lines.obj", text);
        const ForcedReading oneThread{1, 0};
        forceReading(&oneThread);
        OBJModel model;
        ASSERT_TRUE(model.readOBJ(path)) << model._errorText;
        forceReading(nullptr);
        // The text as a chunk holds it: a NUL after its end.
        const LineCounts counts = countLines(text.c_str(), text.c_str() + text.size());
        EXPECT_EQ(counts.coordinates[0], model._vertices._count);
        EXPECT_EQ(counts.coordinates[1], model._textureCoords._count);
        EXPECT_EQ(counts.coordinates[2], model._normals._count);
        EXPECT_EQ(counts.faceLines, faceLines);
        EXPECT_LE(model._faces._count, counts.faceLines);
    }
}

}  // namespace
}  // namespace tollgram::obj
