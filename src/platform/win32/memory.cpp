// Runs of whole pages, and the heap.
#include "platform/memory.h"

#include <windows.h>

#include "platform/runtime_calls.h"

namespace tollgram::platform {

namespace {

// Large pages need a privilege a host process seldom has; the run is made of
// ordinary pages, committed at once and zero-filled by the system.
void* allocatePageRun(size_t bytes) { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void releasePageRun(void* run, size_t bytes) {
    (void)bytes;  // MEM_RELEASE frees the whole reservation
    if (run) (void)VirtualFree(run, 0, MEM_RELEASE);
}

}  // namespace

constexpr MemoryCalls kPlatformMemoryCalls{
    .allocate = &runtime::allocate,
    .resizeBlock = &libraryResizeBlock,
};
constinit MemoryCalls liveMemoryCalls = kPlatformMemoryCalls;

constexpr PageCalls kPlatformPageCalls{
    .allocateRun = &allocatePageRun,
    .releaseRun = &releasePageRun,
};
constinit PageCalls livePageCalls = kPlatformPageCalls;

}  // namespace tollgram::platform
