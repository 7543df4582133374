#include "obj/model/block_memory.h"

#include <cstring>

#include "obj/model/block_pool.h"

// The real memory.resizeBlock of the system table: new slab blocks from the
// block pool when it can give them, everything else from the heap of the
// table. New heap blocks come from its resize too (a null block allocates),
// so that its allocate is tracked allocation's and per-call buffers' alone.
void* tollgram::platform::libraryResizeBlock(void* block, size_t bytes, BlockPlace place) {
    using namespace tollgram::obj;
    const MemoryCalls& heap = systemCalls().memory;
    // realloc of 0 bytes may free and return null; ask for one byte instead so
    // that null always means failure.
    const size_t asked = bytes == 0 ? 1 : bytes;
    if (!block) {
        if (place == BlockPlace::Slab) {
            if (void* pooled = poolAllocate(asked)) return pooled;
        }
        return heap.resize(nullptr, asked);
    }
    const size_t held = pooledSize(block);
    if (held == 0) return heap.resize(block, asked);
    // A pooled block can't grow where it is: the new one is a copy.
    void* moved = place == BlockPlace::Slab ? poolAllocate(asked) : nullptr;
    if (!moved) moved = heap.resize(nullptr, asked);
    if (!moved) return nullptr;
    std::memcpy(moved, block, held < asked ? held : asked);
    poolRelease(block);
    return moved;
}

namespace tollgram::obj {

void releaseBlock(void* block) {
    if (block && !poolRelease(block)) platform::systemCalls().memory.release(block);
}

}  // namespace tollgram::obj
