#pragma once
// Result conventions shared by every export, as the floats the exports
// return: the public header names the codes, these are their values.
#include <cstdint>

#include "tollgram.h"

namespace tollgram {

inline constexpr float kSuccess = static_cast<float>(TOLLGRAM_SUCCESS);
inline constexpr float kFailure = static_cast<float>(TOLLGRAM_FAILURE);
inline constexpr float kUnusableInput = static_cast<float>(TOLLGRAM_UNUSABLE_INPUT);
inline constexpr float kVertexCountsDiffer = static_cast<float>(TOLLGRAM_VERTEX_COUNTS_DIFFER);

// A 32-bit count is taken as unsigned: all bits set is 4294967295, never -1.
// Above 2^24 the float is the nearest one to the count.
inline float unsignedResult(uint32_t count) { return static_cast<float>(count); }

// Bounded-copy error numbers and other small integers.
inline float intResult(int32_t n) { return static_cast<float>(n); }

}  // namespace tollgram
