// A file of lines far longer than a chunk, read by eight threads, holds
// about as much text at once as a read by one thread does: a line or two,
// not two for every thread.
#include <gtest/gtest.h>

#include <string>

#include "hardening/allocation_failures.h"
#include "obj/model/obj_model.h"
#include "obj/read/read_plan.h"
#include "support/temp_folder.h"

namespace tollgram {
namespace {

constexpr size_t kChunk = size_t{64} << 10;
constexpr int kLines = 24;

// kLines vertex lines of about 2 MB each, a position and numbers after it
// that the reader ignores, and a face.
std::string longLines() {
    std::string line = "v 1 2 3";
    while (line.size() < 2000000) line += " 4";
    line += "\n";
    std::string text;
    for (int i = 0; i < kLines; ++i) text += line;
    return text + "f 1 2 3\n";
}

// The most bytes the read's large blocks held at once.
size_t peakOfRead(const std::string& path, unsigned threads) {
    const obj::ForcedReading reading{threads, kChunk};
    obj::forceReading(&reading);
    size_t peak = 0;
    {
        obj::OBJModel model;
        test::LargeBlockPeak blocks(kChunk);
        EXPECT_TRUE(model.readOBJ(path)) << model._errorText;
        EXPECT_EQ(model._vertices._count, uint32_t(kLines));
        EXPECT_EQ(model._faces._count, 1u);
        EXPECT_FALSE(blocks.overflowed());
        peak = blocks.peakBytes();
    }
    obj::forceReading(nullptr);
    return peak;
}

TEST(LongLines, EightThreadsHoldAboutTheTextOneThreadHolds) {
    const test::TempFolder folder;
    const std::string path = folder.write("long.obj", longLines());
    const size_t one = peakOfRead(path, 1);
    const size_t eight = peakOfRead(path, 8);
    EXPECT_GT(one, size_t{2000000}) << "a whole line is held";
    EXPECT_LE(eight, 3 * one) << "one thread " << one << " bytes, eight " << eight;
}

}  // namespace
}  // namespace tollgram
