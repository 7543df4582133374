#pragma once
// What the test process holds from the system, for long-use tests: open
// handles (file descriptors on POSIX) and resident memory.
#include <cstddef>

namespace tollgram::test {

// Open file descriptors (POSIX) or kernel handles (Windows).
size_t openHandleCount();

// The working set in bytes.
size_t residentBytes();

}  // namespace tollgram::test
