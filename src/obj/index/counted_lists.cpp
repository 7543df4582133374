#include "obj/index/counted_lists.h"

#include <cstddef>
#include <cstring>

#include "obj/model/block_memory.h"

namespace tollgram::obj {

uint32_t* zeroedArray(uint64_t count) {
    if (count > SIZE_MAX / sizeof(uint32_t)) return nullptr;
    const size_t bytes = size_t(count) * sizeof(uint32_t);
    auto* array = static_cast<uint32_t*>(allocateBlock(bytes == 0 ? 1 : bytes));
    if (array != nullptr) std::memset(array, 0, bytes);
    return array;
}

bool runningTotals(uint32_t* sums, uint32_t n) {
    uint64_t total = 0;
    for (uint32_t k = 1; k <= n; ++k) {
        total += sums[k];
        if (total > UINT32_MAX - 1) return false;
        sums[k] = uint32_t(total);
    }
    return true;
}

void startsFromPlacedEnds(uint32_t* sums, uint32_t n, uint32_t total) {
    for (uint32_t k = 0; k < n; ++k) sums[k] = sums[k + 1];
    sums[n] = total;
}

}  // namespace tollgram::obj
