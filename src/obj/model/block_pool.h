#pragma once
// The large blocks of a large model (the paged-array blocks after each
// array's first) are carved one after another from slabs of pages taken
// straight from the system, not from the runtime heap. A model's blocks live
// and die together, and each model starts slabs of its own, so a slab needs
// no free list: it goes back to the system when its last block is released,
// and a model freed before another gives back all of its slabs. The pool
// itself, with its lock, goes when the library is unloaded with no block
// left. A small model, whose arrays have one block each, takes no slab at
// all. Safe to call from any thread.
#include <cstddef>

namespace tollgram::obj {

inline constexpr size_t kSlabBytes = size_t{8} << 20;
// Smaller blocks (list entries, chain links) stay on the runtime heap, where
// they can grow in place; larger ones get pages of their own there.
inline constexpr size_t kPooledMinimum = size_t{32} << 10;
inline constexpr size_t kPooledMaximum = kSlabBytes / 4;

// A block of bytes, 16-byte aligned, from a slab; null when bytes is outside
// [kPooledMinimum, kPooledMaximum] or no slab can be had (the caller then
// uses the runtime heap).
void* poolAllocate(size_t bytes);

// The size a pooled block was allocated with; 0 when block is not pooled.
size_t pooledSize(const void* block);

// Releases a pooled block; false, doing nothing, when block is not pooled.
bool poolRelease(void* block);

// The next pooled block starts a slab of its own; the slab carved from so far
// keeps what it holds and takes no more.
void poolStartNewSlab();

// Slabs held at present.
size_t poolSlabCount();

}  // namespace tollgram::obj
