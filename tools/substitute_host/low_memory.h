#pragma once
// Memory whose addresses fit in 32 bits, as Kavrex's own records do.
#include <cstddef>
#include <cstdint>

namespace tollgram::substitute {

// Zero-filled pages below 4 GiB, or null.
uint8_t* allocateLowMemory(size_t bytes);
void releaseLowMemory(uint8_t* block, size_t bytes);

}  // namespace tollgram::substitute
