#pragma once
// Which of N columns (rows) survive when a bitmap axis is narrowed to T:
// a walk that drops an index whenever the accumulated step has run ahead of
// the drop cost. Done in single precision, each result rounded to float, so
// that the kept indices are the same on every build.
#include <cstdint>

namespace tollgram::thumbnail {

// 32-bit x86 keeps floats in 80-bit registers between operations; a store
// through a volatile float rounds each result to single precision as the
// walk requires.
inline float toSingle(float value) {
    volatile float rounded = value;
    return rounded;
}

// Calls copyKept(sourceIndex, keptIndex) for the first `target` kept indices, in
// increasing order of both. `size` is the axis length N, `stored` the number
// of stored columns (rows) the walk may visit. Needs 0 < target < size.
template <typename CopyKept>
void shrinkWalk(int32_t size, int32_t target, int32_t stored, CopyKept copyKept) {
    const float step = toSingle(static_cast<float>(size) / static_cast<float>(target));
    const float cost = toSingle(static_cast<float>(size) / static_cast<float>(size - target));
    float accumulator = 0.0f;
    int32_t excess = size - target;
    int32_t source = 0;
    int32_t remaining = stored;
    int32_t kept = 0;
    while (remaining > 0 && kept < target) {
        copyKept(source, kept);
        ++kept;
        while (excess > 0 && accumulator >= cost) {
            accumulator = toSingle(accumulator - cost);
            ++source;
            --excess;
            --remaining;
        }
        accumulator = toSingle(accumulator + step);
        ++source;
        --remaining;
    }
}

}  // namespace tollgram::thumbnail
