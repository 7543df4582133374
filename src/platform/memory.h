#pragma once
// Memory from the system, as the library takes it (through the system
// table, system.h): the runtime heap, and runs of whole pages for the
// model's large records. Page runs go back to the system when released, and
// the system may back them with large pages where it offers them: filling the
// records of a model of millions of faces then costs a few hundred page
// faults instead of tens of thousands.
// Pages: Windows VirtualAlloc and VirtualFree. POSIX mmap and munmap, with
// madvise(MADV_HUGEPAGE) where the system has it.
#include <cstddef>

#include "platform/system.h"

namespace tollgram::platform {

// Runs should be a multiple of this, so that large pages can back them whole.
inline constexpr size_t kPageRunGranule = size_t{2} << 20;

// Page runs (PageCalls) are aligned to at least 64 KiB (to kPageRunGranule
// on POSIX).

}  // namespace tollgram::platform
