#include "frame/tracked_alloc.h"

#include "frame/message_box.h"
#include "platform/memory.h"

namespace tollgram {

void* trackedAlloc(size_t bytes, const char* caller) {
    // malloc(0) may answer null or a unique block; ask for one byte so that
    // null always means out of memory.
    void* block = platform::systemCalls().memory.allocate(bytes ? bytes : 1);
    if (block == nullptr) showNote(kOutOfMemoryCaption, caller);
    return block;
}

}  // namespace tollgram
