#include "hardening/allocation_failures.h"

#include <atomic>
#include <cstdlib>
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
    g_saved = platform::currentSystem();
    const platform::LiveSystem& calls = platform::systemCalls();
    calls.memory.allocate = &failingHeapAllocate;
    calls.memory.resizeBlock = &failingBlockResize;
}

AllocationFailures::~AllocationFailures() {
    platform::replaceSystem(g_saved);
    g_failAt = 0;
}

bool AllocationFailures::failed() const { return g_failed; }
long AllocationFailures::counted() const { return g_counted; }

}  // namespace tollgram::test

// The program's operator new, counted like every other allocation. Sized
// and aligned forms all come here; delete is the runtime's free.
namespace {
void* countedNew(std::size_t bytes) {
    if (tollgram::test::allocationShouldFail()) throw std::bad_alloc();
    void* block = std::malloc(bytes ? bytes : 1);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
void* countedNew(std::size_t bytes, const std::nothrow_t&) noexcept {
    if (tollgram::test::allocationShouldFail()) return nullptr;
    return std::malloc(bytes ? bytes : 1);
}
}  // namespace

void* operator new(std::size_t bytes) { return countedNew(bytes); }
void* operator new[](std::size_t bytes) { return countedNew(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t& tag) noexcept { return countedNew(bytes, tag); }
void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept { return countedNew(bytes, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
