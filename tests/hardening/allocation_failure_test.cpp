#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame/tracked_alloc.h"
#include "platform/system.h"
#include "hardening/allocation_failures.h"
#include "obj/model/block_memory.h"
#include "support/captured_notes.h"

namespace tollgram {
namespace {

enum class Path { Tracked, New, Block };
constexpr Path kPaths[] = {Path::Tracked, Path::New, Path::Block};

void* allocateThrough(Path path, bool& threw) {
    switch (path) {
        case Path::Tracked:
            return trackedAlloc(32, "caller");
        case Path::New:
            try {
                return new char[32];
            } catch (const std::bad_alloc&) {
                threw = true;
                return nullptr;
            }
        case Path::Block:
            return obj::allocateBlock(32);
    }
    return nullptr;
}

void release(Path path, void* block) {
    if (path == Path::New) delete[] static_cast<char*>(block);
    else if (path == Path::Block) obj::releaseBlock(block);
    else std::free(block);
}

// The injector itself: exactly the n-th allocation fails, through any path.
TEST(AllocationFailures, FailExactlyTheArmedAllocation) {
    test::CapturedNotes notes;
    for (long n = 1; n <= 3; ++n) {
        std::vector<void*> blocks;
        blocks.reserve(3);  // the test's own storage stays out of the count
        bool threw = false;
        {
            test::AllocationFailures failures(n);
            for (Path path : kPaths) blocks.push_back(allocateThrough(path, threw));
            EXPECT_TRUE(failures.failed()) << n;
            EXPECT_GE(failures.counted(), 3) << n;  // a captured note allocates too
        }
        for (size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i] == nullptr, static_cast<long>(i) + 1 == n) << "n " << n << " allocation " << i + 1;
            release(kPaths[i], blocks[i]);
        }
        EXPECT_EQ(threw, n == 2) << n;
    }
    EXPECT_EQ(notes.count(), 1u);  // only the tracked failure told the user
}

// Disarmed, nothing fails and the library's functions are its own again.
TEST(AllocationFailures, DisarmedAllocationsSucceed) {
    const platform::MemoryCalls memory = platform::systemCalls().memory;
    { test::AllocationFailures failures(1); }
    EXPECT_EQ(platform::systemCalls().memory.allocate, memory.allocate);
    EXPECT_EQ(platform::systemCalls().memory.resizeBlock, memory.resizeBlock);
    void* block = obj::allocateBlock(16);
    EXPECT_NE(block, nullptr);
    obj::releaseBlock(block);
}

}  // namespace
}  // namespace tollgram
