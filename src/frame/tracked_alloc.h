#pragma once
// Allocation from the runtime heap that tells the user when memory ran out.
// Blocks are released with std::free.
#include <cstddef>

namespace tollgram {

inline constexpr const char* kOutOfMemoryCaption = "Plugin Note: memory could not be allocated.";

// On failure shows a note whose text is the caller's name (for example
// "ABitMap::Allocate") and returns null.
void* trackedAlloc(size_t bytes, const char* caller);

// The heap allocation behind trackedAlloc (malloc's contract); tests point it
// elsewhere to run out of memory on purpose, and put it back.
using HeapAllocateFunction = void* (*)(size_t bytes);
extern HeapAllocateFunction heapAllocateImpl;

}  // namespace tollgram
