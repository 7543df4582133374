// Runs of whole pages.
#include "platform/memory.h"

#include <windows.h>

#include "platform/system_calls.h"

namespace tollgram::platform {

// Large pages need a privilege a host process seldom has; the run is made of
// ordinary pages, committed at once and zero-filled by the system.
void* systemAllocatePageRun(size_t bytes) { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void systemReleasePageRun(void* run, size_t bytes) {
    (void)bytes;  // MEM_RELEASE frees the whole reservation
    if (run) (void)VirtualFree(run, 0, MEM_RELEASE);
}

}  // namespace tollgram::platform
