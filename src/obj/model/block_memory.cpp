#include "obj/model/block_memory.h"

#include <cstdlib>
#include <cstring>

#include "obj/model/block_pool.h"

// The real memory.resizeBlock of the system table: new slab blocks from the
// block pool when it can give them, everything else from the runtime heap.
void* tollgram::platform::libraryResizeBlock(void* block, size_t bytes, BlockPlace place) {
    using namespace tollgram::obj;
    // realloc of 0 bytes may free and return null; ask for one byte instead so
    // that null always means failure.
    const size_t asked = bytes == 0 ? 1 : bytes;
    if (!block) {
        if (place == BlockPlace::Slab) {
            if (void* pooled = poolAllocate(asked)) return pooled;
        }
        return std::malloc(asked);
    }
    const size_t held = pooledSize(block);
    if (held == 0) return std::realloc(block, asked);
    // A pooled block can't grow where it is: the new one is a copy.
    void* moved = place == BlockPlace::Slab ? poolAllocate(asked) : nullptr;
    if (!moved) moved = std::malloc(asked);
    if (!moved) return nullptr;
    std::memcpy(moved, block, held < asked ? held : asked);
    poolRelease(block);
    return moved;
}

namespace tollgram::obj {

void releaseBlock(void* block) {
    if (block && !poolRelease(block)) std::free(block);
}

}  // namespace tollgram::obj
