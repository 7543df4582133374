#pragma once
// Result conventions shared by every export: 0 success, -1 missing argument,
// missing record, unknown key or failed operation, other negative codes where
// an export says so, and counts, lengths and error numbers as themselves.
#include <cstdint>

namespace tollgram {

inline constexpr float kSuccess = 0.0f;
inline constexpr float kFailure = -1.0f;

// A 32-bit count is taken as unsigned: all bits set is 4294967295, never -1.
// Above 2^24 the float is the nearest one to the count.
inline float unsignedResult(uint32_t count) { return static_cast<float>(count); }

// Bounded-copy error numbers and other small integers.
inline float intResult(int32_t n) { return static_cast<float>(n); }

}  // namespace tollgram
