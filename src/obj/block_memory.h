#pragma once
// Every block and index list of the model is allocated here, through one
// replaceable function, so that running out of memory in the middle of a read
// can be reproduced on any allocation (tests point blockResizeImpl elsewhere
// and restore it).
#include <cstddef>

namespace tollgram::obj {

// realloc's contract: a null block allocates, a failure returns null and
// leaves the block as it was.
using BlockResizeFunction = void* (*)(void* block, size_t bytes);

extern BlockResizeFunction blockResizeImpl;

// The library's own: new blocks of a slab's range from the block pool
// (block_pool.h), everything else from the runtime heap.
void* defaultBlockResize(void* block, size_t bytes);

inline void* allocateBlock(size_t bytes) { return blockResizeImpl(nullptr, bytes); }
inline void* resizeBlock(void* block, size_t bytes) { return blockResizeImpl(block, bytes); }
void releaseBlock(void* block);

}  // namespace tollgram::obj
