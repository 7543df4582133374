#pragma once
// Every block and index list of the model is allocated here, through one
// replaceable function, so that running out of memory in the middle of a read
// can be reproduced on any allocation (tests point blockResizeImpl elsewhere
// and restore it).
#include <cstddef>

namespace tollgram::obj {

// Where a new block may come from: the runtime heap only, or a slab of the
// block pool when its size suits one (block_pool.h).
enum class BlockPlace { Heap, Slab };

// realloc's contract: a null block allocates, a failure returns null and
// leaves the block as it was. place only matters for a new block.
using BlockResizeFunction = void* (*)(void* block, size_t bytes, BlockPlace place);

extern BlockResizeFunction blockResizeImpl;

// The library's own: new slab blocks from the block pool when it can give
// them, everything else from the runtime heap.
void* defaultBlockResize(void* block, size_t bytes, BlockPlace place);

inline void* allocateBlock(size_t bytes) { return blockResizeImpl(nullptr, bytes, BlockPlace::Heap); }
inline void* allocateSlabBlock(size_t bytes) { return blockResizeImpl(nullptr, bytes, BlockPlace::Slab); }
inline void* resizeBlock(void* block, size_t bytes) { return blockResizeImpl(block, bytes, BlockPlace::Heap); }
void releaseBlock(void* block);

}  // namespace tollgram::obj
