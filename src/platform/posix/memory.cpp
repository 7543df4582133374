// Runs of whole pages.
#include "platform/memory.h"
#include "platform/own_calls.h"

#include <sys/mman.h>

#include <cstdint>

namespace tollgram::platform::own {

void* allocatePageRun(size_t bytes) {
    // mmap aligns to a page only: map one granule more and trim both ends,
    // so that every granule of the run can be one large page.
    const size_t mapped = bytes + kPageRunGranule;
    void* mapping = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapping);
    const uintptr_t aligned = (start + kPageRunGranule - 1) & ~uintptr_t(kPageRunGranule - 1);
    const uintptr_t end = start + mapped;
    const uintptr_t runEnd = aligned + bytes;
    // Unmapping part of a private anonymous mapping does not fail.
    if (aligned > start) (void)munmap(mapping, aligned - start);
    if (end > runEnd) (void)munmap(reinterpret_cast<void*>(runEnd), end - runEnd);
    void* run = reinterpret_cast<void*>(aligned);
    // Advice only: small pages serve as well. Measured on first loads of a
    // 100 MB mesh file, large pages give the best median. The pages are not
    // filled here but where they are first written: by the parallel read's
    // threads, each clearing its own, rather than by the one thread that
    // makes the blocks, in turn (both ways alike for one thread).
#ifdef MADV_HUGEPAGE
    (void)madvise(run, bytes, MADV_HUGEPAGE);
#endif
    return run;
}

void releasePageRun(void* run, size_t bytes) {
    if (run) (void)munmap(run, bytes);
}

}  // namespace tollgram::platform::own
