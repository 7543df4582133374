// Narrowing and lowering in place. A kept column (row) never moves to a
// later position, so copying forward from the start of the block never
// overwrites a pixel still to be read; the block keeps its size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "thumbnail/abitmap.h"
#include "thumbnail/shrink_walk.h"

namespace tollgram::thumbnail {

void ABitMap::ShrinkWidth(int32_t target) {
    if (pixels == nullptr || depth != 32 || width <= target || target <= 0) return;
    // Pending side margins would make the walk's N differ from the stored
    // row and leave kept columns missing.
    if (dataWidth != width) return;
    const size_t sourceStride = static_cast<size_t>(dataWidth);
    const size_t targetStride = static_cast<size_t>(target);
    auto* words = reinterpret_cast<uint32_t*>(pixels);
    for (int32_t row = 0; row < dataHeight; ++row) {
        const uint32_t* from = words + static_cast<size_t>(row) * sourceStride;
        uint32_t* to = words + static_cast<size_t>(row) * targetStride;
        // The walk starts afresh in every row, so every row keeps the same
        // columns.
        shrinkWalk(width, target, dataWidth, [&](int32_t column, int32_t kept) { to[kept] = from[column]; });
    }
    width = dataWidth = target;
}

void ABitMap::ShrinkHeight(int32_t target) {
    if (pixels == nullptr || height <= target || target <= 0) return;
    if (dataHeight != height) return;
    const size_t rowBytes = static_cast<size_t>(dataWidth) * static_cast<size_t>(bytesPerPixel(depth));
    shrinkWalk(height, target, dataHeight, [&](int32_t row, int32_t kept) {
        if (row != kept) {
            std::memcpy(pixels + static_cast<size_t>(kept) * rowBytes, pixels + static_cast<size_t>(row) * rowBytes,
                        rowBytes);
        }
    });
    height = dataHeight = target;
}

}  // namespace tollgram::thumbnail
