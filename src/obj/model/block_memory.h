#pragma once
// The model's bulk memory is allocated here, through the system table's
// memory calls (platform/system.h), so that running out of memory in the
// middle of a read can be reproduced on any of it: the blocks of its paged
// arrays, the entries of its face lists and the further links of its vertex
// chains. The rest comes from operator new: the list records themselves, the
// group map, names, materials, the tables of block addresses and the vertex
// index's own record.
#include <cstddef>

#include "platform/memory.h"

namespace tollgram::obj {

// Where a new block may come from: the runtime heap only, or a slab of the
// block pool when its size suits one (block_pool.h).
using platform::BlockPlace;

// realloc's contract: a null block allocates, a failure returns null and
// leaves the block as it was. place only matters for a new block.
inline void* resizeBlock(void* block, size_t bytes, BlockPlace place = BlockPlace::Heap) {
    return platform::systemCalls().memory.resizeBlock(block, bytes, place);
}
inline void* allocateBlock(size_t bytes) { return resizeBlock(nullptr, bytes); }
inline void* allocateSlabBlock(size_t bytes) { return resizeBlock(nullptr, bytes, BlockPlace::Slab); }
void releaseBlock(void* block);

}  // namespace tollgram::obj
