#pragma once
// Runs of whole pages straight from the system, for the model's large
// records. They go back to the system when released, and the system may back
// them with large pages where it offers them: filling the records of a model
// of millions of faces then costs a few hundred page faults instead of tens of
// thousands.
// Windows: VirtualAlloc and VirtualFree. POSIX: mmap and munmap, with
// madvise(MADV_HUGEPAGE) and MADV_POPULATE_WRITE where the system has them.
#include <cstddef>

namespace tollgram::platform {

// Runs should be a multiple of this, so that large pages can back them whole.
inline constexpr size_t kPageRunGranule = size_t{2} << 20;

// A zero-filled run of bytes, aligned to at least 64 KiB (to kPageRunGranule
// on POSIX); null when the system refuses.
void* allocatePageRun(size_t bytes);

// Gives back a run exactly as allocatePageRun returned it.
void releasePageRun(void* run, size_t bytes);

}  // namespace tollgram::platform
