// Materialising the pending margins: one pass over the new block in memory
// order, fill and stored rows alternating.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "thumbnail/abitmap.h"

namespace tollgram::thumbnail {

int32_t ABitMap::ApplyMargins(ABitMap& target) const {
    if (depth != 32 || &target == this) return -1;
    // The bookkeeping must add up, or the rows below would run past either
    // block.
    if (pixels == nullptr || marginLeft < 0 || marginRight < 0 || marginTop < 0 || marginBottom < 0 ||
        static_cast<int64_t>(marginLeft) + dataWidth + marginRight != width ||
        static_cast<int64_t>(marginTop) + dataHeight + marginBottom != height) {
        return -1;
    }
    if (target.Allocate(depth, width, height) == nullptr) return -1;

    auto* to = reinterpret_cast<uint32_t*>(target.pixels);
    const auto* from = reinterpret_cast<const uint32_t*>(pixels);
    const size_t fullRow = static_cast<size_t>(width);
    const size_t storedRow = static_cast<size_t>(dataWidth);
    auto fill = [&](size_t count) {
        std::fill_n(to, count, fillValue);
        to += count;
    };
    fill(static_cast<size_t>(marginTop) * fullRow);
    for (int32_t row = 0; row < dataHeight; ++row) {
        fill(static_cast<size_t>(marginLeft));
        std::memcpy(to, from, storedRow * sizeof(uint32_t));
        to += storedRow;
        from += storedRow;
        fill(static_cast<size_t>(marginRight));
    }
    fill(static_cast<size_t>(marginBottom) * fullRow);
    return 0;
}

}  // namespace tollgram::thumbnail
