#include "obj/model/block_pool.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

#include "platform/memory.h"

#include "frame/sanitizers.h"

#ifdef TOLLGRAM_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
// Whatever no live block covers stays poisoned, so that the address checker
// sees an overrun of a pooled block as it sees one of a heap block.
#define TOLLGRAM_POISON(address, bytes) ASAN_POISON_MEMORY_REGION(address, bytes)
#define TOLLGRAM_UNPOISON(address, bytes) ASAN_UNPOISON_MEMORY_REGION(address, bytes)
#else
#define TOLLGRAM_POISON(address, bytes) ((void)(address), (void)(bytes))
#define TOLLGRAM_UNPOISON(address, bytes) ((void)(address), (void)(bytes))
#endif

namespace tollgram::obj {

namespace {

static_assert(kSlabBytes % platform::kPageRunGranule == 0, "slabs are whole large pages");

// Each block is preceded by its size, in a header that keeps the block
// 16-byte aligned.
constexpr size_t kHeaderBytes = 16;

struct Slab {
    char* base;
    size_t used;  // bytes carved so far, headers included
    size_t live;  // blocks not yet released
};

struct Pool {
    std::mutex mutex;
    std::vector<Slab> slabs;  // ascending by base
    char* current = nullptr;  // the slab blocks are carved from, or null
};

std::atomic<Pool*> g_pool{nullptr};

// Made on the first slab block. At unload an idle pool is given back
// (TeardownAtUnload); one that still holds blocks is left for them: at
// process exit a model may still release its blocks after every static
// object.
Pool* existingPool() { return g_pool.load(std::memory_order_acquire); }

Pool* thePool() {
    Pool* pool = g_pool.load(std::memory_order_acquire);
    if (pool) return pool;
    Pool* made = new (std::nothrow) Pool;
    if (!made) return nullptr;
    if (g_pool.compare_exchange_strong(pool, made, std::memory_order_acq_rel)) return made;
    delete made;  // another thread's came first
    return pool;
}

// Gives a slab back to the system. Its shadow is cleared first: pages that
// the system hands out again at the same address belong to someone else.
void releaseSlab(char* base) {
    TOLLGRAM_UNPOISON(base, kSlabBytes);
    platform::systemCalls().pages.releaseRun(base, kSlabBytes);
}

struct TeardownAtUnload {
    TeardownAtUnload() = default;
    TeardownAtUnload(const TeardownAtUnload&) = delete;
    TeardownAtUnload& operator=(const TeardownAtUnload&) = delete;
    ~TeardownAtUnload() {
        Pool* pool = g_pool.load(std::memory_order_acquire);
        if (!pool) return;
        {
            std::lock_guard<std::mutex> lock(pool->mutex);
            for (const Slab& slab : pool->slabs) {
                if (slab.live > 0) return;
            }
            for (const Slab& slab : pool->slabs) releaseSlab(slab.base);
            pool->slabs.clear();
            g_pool.store(nullptr, std::memory_order_release);
        }
        delete pool;
    }
};
TeardownAtUnload g_teardown;

// The slab holding address, or end.
std::vector<Slab>::iterator slabOf(Pool& pool, const void* address) {
    const char* a = static_cast<const char*>(address);
    auto after = std::upper_bound(pool.slabs.begin(), pool.slabs.end(), a,
                                  [](const char* x, const Slab& s) { return x < s.base; });
    if (after == pool.slabs.begin()) return pool.slabs.end();
    auto slab = after - 1;
    return a < slab->base + kSlabBytes ? slab : pool.slabs.end();
}

size_t readHeader(const char* block) {
    const char* header = block - kHeaderBytes;
    TOLLGRAM_UNPOISON(header, sizeof(size_t));
    size_t bytes;
    std::copy(header, header + sizeof bytes, reinterpret_cast<char*>(&bytes));
    TOLLGRAM_POISON(header, sizeof(size_t));
    return bytes;
}

void writeHeader(char* block, size_t bytes) {
    char* header = block - kHeaderBytes;
    TOLLGRAM_UNPOISON(header, sizeof(size_t));
    const char* from = reinterpret_cast<const char*>(&bytes);
    std::copy(from, from + sizeof bytes, header);
    TOLLGRAM_POISON(header, sizeof(size_t));
}

// A slab to carve from, made current; null when none can be had.
Slab* freshSlab(Pool& pool) {
    char* base = static_cast<char*>(platform::systemCalls().pages.allocateRun(kSlabBytes));
    if (!base) return nullptr;
    auto at = std::upper_bound(pool.slabs.begin(), pool.slabs.end(), base,
                               [](const char* x, const Slab& s) { return x < s.base; });
    try {
        at = pool.slabs.insert(at, Slab{base, 0, 0});
    } catch (const std::bad_alloc&) {
        platform::systemCalls().pages.releaseRun(base, kSlabBytes);
        return nullptr;
    }
    TOLLGRAM_POISON(base, kSlabBytes);
    pool.current = base;
    return &*at;
}

}  // namespace

void* poolAllocate(size_t bytes) {
    if (bytes < kPooledMinimum || bytes > kPooledMaximum) return nullptr;
    Pool* pool = thePool();
    if (!pool) return nullptr;
    const size_t needed = kHeaderBytes + ((bytes + 15) & ~size_t(15));
    std::lock_guard<std::mutex> lock(pool->mutex);
    Slab* slab = nullptr;
    if (pool->current) {
        auto found = slabOf(*pool, pool->current);
        if (found != pool->slabs.end() && kSlabBytes - found->used >= needed) slab = &*found;
    }
    if (!slab) slab = freshSlab(*pool);
    if (!slab) return nullptr;
    char* block = slab->base + slab->used + kHeaderBytes;
    slab->used += needed;
    ++slab->live;
    writeHeader(block, bytes);
    TOLLGRAM_UNPOISON(block, bytes);
    return block;
}

size_t pooledSize(const void* block) {
    Pool* pool = existingPool();
    if (!pool || !block) return 0;
    std::lock_guard<std::mutex> lock(pool->mutex);
    if (slabOf(*pool, block) == pool->slabs.end()) return 0;
    return readHeader(static_cast<const char*>(block));
}

bool poolRelease(void* block) {
    Pool* pool = existingPool();
    if (!pool || !block) return false;
    std::lock_guard<std::mutex> lock(pool->mutex);
    auto slab = slabOf(*pool, block);
    if (slab == pool->slabs.end()) return false;
    TOLLGRAM_POISON(block, readHeader(static_cast<char*>(block)));
    if (--slab->live > 0) return true;
    // Empty slabs are not kept, the current one neither: memory after a
    // model is freed is what it was before the model was read.
    if (slab->base == pool->current) pool->current = nullptr;
    releaseSlab(slab->base);
    pool->slabs.erase(slab);
    return true;
}

void poolStartNewSlab() {
    Pool* pool = existingPool();
    if (!pool) return;
    std::lock_guard<std::mutex> lock(pool->mutex);
    pool->current = nullptr;
}

size_t poolSlabCount() {
    Pool* pool = existingPool();
    if (!pool) return 0;
    std::lock_guard<std::mutex> lock(pool->mutex);
    return pool->slabs.size();
}

}  // namespace tollgram::obj
