#pragma once
// Lists of face or vertex indices grouped by a key, built the way the
// model's indexes build them: every entry counted under its key first, the
// counts made running totals, then every entry placed from the back. Their
// arrays come from the model's block memory (block_memory.h).
#include <cstdint>

namespace tollgram::obj {

// count zero entries, or null when they can't be had.
uint32_t* zeroedArray(uint64_t count);

// Counts into sums[1..n] made running totals: sums[k + 1] is where the
// entries after those of the first k keys end. False when they don't fit
// 32 bits.
bool runningTotals(uint32_t* sums, uint32_t n);

// After entries were placed at --sums[k + 1], sums[k + 1] holds key k's
// start; moved down one, sums[k] is key k's start and sums[n] the total.
void startsFromPlacedEnds(uint32_t* sums, uint32_t n, uint32_t total);

}  // namespace tollgram::obj
