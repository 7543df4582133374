#pragma once
// Numbers taken from an export's value argument.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace tollgram {

// Truncation toward zero (2.99 gives 2, -0.7 gives 0). A NaN, an infinity or
// a value outside the int32 range gives INT32_MIN, the "integer indefinite"
// an x86 conversion produces, so that taken as unsigned it exceeds every
// count instead of being undefined behaviour.
inline int32_t truncToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

// The same number seen as unsigned, for checks against counts: -1 becomes
// 4294967295.
inline uint32_t truncToUint32(double value) {
    return static_cast<uint32_t>(truncToInt32(value));
}

// The mask value: the low 8 bits of the truncated integer (300 gives 44, -1
// gives 255).
inline uint8_t lowByteOf(double value) {
    return static_cast<uint8_t>(static_cast<uint32_t>(truncToInt32(value)) & 0xFFu);
}

// A host float field: the nearest 32-bit float (0.1 is stored as
// 0.100000001). Values beyond the float range become infinities, NaN stays
// NaN, as an IEEE conversion gives them.
inline float nearestFloat(double value) {
    constexpr double maxFloat = std::numeric_limits<float>::max();
    // Halfway between the largest float and 2^128: from here on IEEE
    // rounding gives an infinity. Spelt out because a C++ conversion of an
    // out-of-range double is undefined.
    const double roundsToInfinity = maxFloat + std::ldexp(1.0, 103);
    if (value >= roundsToInfinity) return std::numeric_limits<float>::infinity();
    if (value <= -roundsToInfinity) return -std::numeric_limits<float>::infinity();
    if (value > maxFloat) return std::numeric_limits<float>::max();
    if (value < -maxFloat) return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}

// Comparisons on the double itself: a NaN is never greater than 0.
inline bool isPositive(double value) { return value > 0.0; }

// A 1-based number among count (groups, smoothing groups), as value names
// it: none when value is not positive (NaN included) or its number exceeds
// count. A value in (0, 1) gives 0, which names nothing.
inline std::optional<uint32_t> numberUpTo(double value, uint32_t count) {
    if (!isPositive(value)) return std::nullopt;
    const uint32_t number = truncToUint32(value);
    if (number > count) return std::nullopt;
    return number;
}

// The 0-based index of that number; none also for the number 0.
inline std::optional<uint32_t> indexUpTo(double value, uint32_t count) {
    const std::optional<uint32_t> number = numberUpTo(value, count);
    if (!number || *number == 0) return std::nullopt;
    return *number - 1;
}

}  // namespace tollgram
