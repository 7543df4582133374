#include "hardening/allocation_failures.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <new>

#include "platform/system.h"

namespace tollgram::test {

namespace {
// Atomic: the parallel read allocates on several threads at once.
std::atomic<long> g_failAt{0};  // 0: not armed
std::atomic<long> g_counted{0};
std::atomic<bool> g_failed{false};
// The table as arming found it, put back when disarmed.
platform::System g_saved{};

void* failingHeapAllocate(size_t bytes) { return allocationShouldFail() ? nullptr : g_saved.memory.allocate(bytes); }

// A failed resize leaves the block as it was, as realloc does.
void* failingBlockResize(void* block, size_t bytes, platform::BlockPlace place) {
    return allocationShouldFail() ? nullptr : g_saved.memory.resizeBlock(block, bytes, place);
}
}  // namespace

bool allocationShouldFail() {
    const long failAt = g_failAt.load();
    if (failAt == 0) return false;
    if (g_counted.fetch_add(1) + 1 != failAt) return false;
    g_failed = true;
    return true;
}

AllocationFailures::AllocationFailures(long n) {
    g_failAt = n;
    g_counted = 0;
    g_failed = false;
    g_saved = platform::liveSystem;
    platform::System& calls = platform::liveSystem;
    calls.memory.allocate = &failingHeapAllocate;
    calls.memory.resizeBlock = &failingBlockResize;
}

AllocationFailures::~AllocationFailures() {
    platform::liveSystem = g_saved;
    g_failAt = 0;
}

bool AllocationFailures::failed() const { return g_failed; }
long AllocationFailures::counted() const { return g_counted; }

namespace {
// The large blocks followed by the LargeBlockPeak alive, under its mutex.
struct LargeBlocks {
    std::mutex mutex;
    std::atomic<bool> on{false};
    size_t minimumBytes = 0;
    void* blocks[LargeBlockPeak::kMostTracked] = {};
    size_t sizes[LargeBlockPeak::kMostTracked] = {};
    size_t live = 0;
    size_t peak = 0;
    bool overflowed = false;
};
// Made in place, without operator new, which calls here, and never
// destroyed: blocks are freed to the end of the program.
LargeBlocks& largeBlocks() {
    alignas(LargeBlocks) static unsigned char storage[sizeof(LargeBlocks)];
    static LargeBlocks* const blocks = new (storage) LargeBlocks;
    return *blocks;
}
}  // namespace

LargeBlockPeak::LargeBlockPeak(size_t minimumBytes) {
    LargeBlocks& b = largeBlocks();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.minimumBytes = minimumBytes;
    for (void*& block : b.blocks) block = nullptr;
    b.live = b.peak = 0;
    b.overflowed = false;
    b.on = true;
}

LargeBlockPeak::~LargeBlockPeak() { largeBlocks().on = false; }

size_t LargeBlockPeak::peakBytes() const {
    std::lock_guard<std::mutex> lock(largeBlocks().mutex);
    return largeBlocks().peak;
}

bool LargeBlockPeak::overflowed() const {
    std::lock_guard<std::mutex> lock(largeBlocks().mutex);
    return largeBlocks().overflowed;
}

void noteNewBlock(void* block, size_t bytes) {
    LargeBlocks& b = largeBlocks();
    if (!b.on || block == nullptr || bytes < b.minimumBytes) return;
    std::lock_guard<std::mutex> lock(b.mutex);
    for (size_t i = 0; i < LargeBlockPeak::kMostTracked; ++i) {
        if (b.blocks[i] != nullptr) continue;
        b.blocks[i] = block;
        b.sizes[i] = bytes;
        b.live += bytes;
        if (b.live > b.peak) b.peak = b.live;
        return;
    }
    b.overflowed = true;
}

void noteFreedBlock(void* block) {
    LargeBlocks& b = largeBlocks();
    if (!b.on || block == nullptr) return;
    std::lock_guard<std::mutex> lock(b.mutex);
    for (size_t i = 0; i < LargeBlockPeak::kMostTracked; ++i) {
        if (b.blocks[i] != block) continue;
        b.blocks[i] = nullptr;
        b.live -= b.sizes[i];
        return;
    }
}

}  // namespace tollgram::test

// The program's operator new, counted like every other allocation. Sized
// and aligned forms all come here; delete is the runtime's free.
namespace {
void* countedNew(std::size_t bytes) {
    if (tollgram::test::allocationShouldFail()) throw std::bad_alloc();
    void* block = std::malloc(bytes ? bytes : 1);
    if (block == nullptr) throw std::bad_alloc();
    tollgram::test::noteNewBlock(block, bytes);
    return block;
}
void* countedNew(std::size_t bytes, const std::nothrow_t&) noexcept {
    if (tollgram::test::allocationShouldFail()) return nullptr;
    void* block = std::malloc(bytes ? bytes : 1);
    tollgram::test::noteNewBlock(block, bytes);
    return block;
}
void freed(void* block) noexcept {
    tollgram::test::noteFreedBlock(block);
    std::free(block);
}
}  // namespace

void* operator new(std::size_t bytes) { return countedNew(bytes); }
void* operator new[](std::size_t bytes) { return countedNew(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t& tag) noexcept { return countedNew(bytes, tag); }
void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept { return countedNew(bytes, tag); }
void operator delete(void* block) noexcept { freed(block); }
void operator delete[](void* block) noexcept { freed(block); }
void operator delete(void* block, std::size_t) noexcept { freed(block); }
void operator delete[](void* block, std::size_t) noexcept { freed(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { freed(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { freed(block); }
