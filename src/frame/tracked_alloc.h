#pragma once
// Allocation from the runtime heap that tells the user when memory ran out.
// Blocks are released with std::free.
#include <cstddef>

namespace tollgram {

inline constexpr const char* kOutOfMemoryCaption = "Plugin Note: memory could not be allocated.";

// On failure shows a note whose text is the caller's name (for example
// "ABitMap::Allocate") and returns null.
void* trackedAlloc(size_t bytes, const char* caller);

}  // namespace tollgram
