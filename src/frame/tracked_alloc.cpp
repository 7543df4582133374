#include "frame/tracked_alloc.h"

#include <cstdlib>

#include "frame/message_box.h"

namespace tollgram {

namespace {
void* runtimeMalloc(size_t bytes) { return std::malloc(bytes); }
}  // namespace

HeapAllocateFunction heapAllocateImpl = &runtimeMalloc;

void* trackedAlloc(size_t bytes, const char* caller) {
    // malloc(0) may answer null or a unique block; ask for one byte so that
    // null always means out of memory.
    void* block = heapAllocateImpl(bytes ? bytes : 1);
    if (block == nullptr) showNote(kOutOfMemoryCaption, caller);
    return block;
}

}  // namespace tollgram
