#pragma once
// The model's large blocks (paged-array blocks, the line reader's block) are
// carved one after another from slabs of pages taken straight from the
// system, not from the runtime heap. A model's blocks live and die together,
// so a slab needs no free list: it goes back to the system when its last
// block is released. The slab blocks are carved from at that moment is kept
// (emptied), so that loading small files over and over does not fault in
// fresh pages each time. Safe to call from any thread.
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

// Slabs held at present, the kept one included.
size_t poolSlabCount();

}  // namespace tollgram::obj
