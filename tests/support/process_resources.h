#pragma once
// What the test process holds from the system, for long-use tests: open
// handles (file descriptors on POSIX), resident and committed memory.
#include <cstddef>

namespace tollgram::test {

// Open file descriptors (POSIX) or kernel handles (Windows).
size_t openHandleCount();

// The working set in bytes.
size_t residentBytes();

// Memory the process has committed for its own data, in bytes. Windows: the
// private committed regions of the address space (VirtualQuery). POSIX: the
// private data mappings (VmData).
size_t committedBytes();

// Bytes of the runtime heaps in use by live blocks: what a program holds of
// its heaps, apart from free space a heap keeps committed for reuse.
// Windows: every heap of the process walked (HeapWalk). POSIX: mallinfo2.
size_t heapBytesInUse();

// The largest free range of the address space, in bytes (Windows; 0 on POSIX,
// where a 64-bit address space has no shortage).
size_t largestFreeBlock();

// Holds the process (on POSIX, the calling thread, whose mask new threads
// take) to its first processor while it lives; held() is false when the
// system refused.
class OneProcessor {
public:
    OneProcessor();
    ~OneProcessor();
    OneProcessor(const OneProcessor&) = delete;
    OneProcessor& operator=(const OneProcessor&) = delete;
    bool held() const { return held_; }

private:
    bool held_ = false;
    unsigned char saved_[128] = {};  // the mask as it was
};

}  // namespace tollgram::test
