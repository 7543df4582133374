// Runs of whole pages.
#include "platform/memory.h"
#include "platform/own_calls.h"

#include <windows.h>

namespace tollgram::platform::own {

// Large pages need a privilege a host process seldom has; the run is made of
// ordinary pages, committed at once and zero-filled by the system.
void* allocatePageRun(size_t bytes) { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void releasePageRun(void* run, size_t bytes) {
    (void)bytes;  // MEM_RELEASE frees the whole reservation
    if (run) (void)VirtualFree(run, 0, MEM_RELEASE);
}

}  // namespace tollgram::platform::own
