#pragma once
// How much memory the process can still be given, as the system tells it:
// for a hint on a call that ran out of it.
#include <cstdint>

namespace tollgram::host_tool {

// Bytes the process could still allocate now: the smaller of the free
// memory and, where it is the tighter bound, the free address space (a
// 32-bit process has 2 GiB of it at most).
uint64_t memoryAvailable();

}  // namespace tollgram::host_tool
