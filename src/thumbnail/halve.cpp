// The 2:1 reduction. Destination pixel (i, j) is centred on source pixel
// (2i, 2j) and weighs its 3×3 neighbourhood
//     1 2 1
//     2 4 2   / 16, remainder dropped, per channel byte 0..2; byte 3 is 0.
//     1 2 1
// The kernel is the product of (1 2 1) down and (1 2 1) across, so each row
// is done as a vertical sum of three source rows followed by a horizontal
// sum of those: exact integers either way, so the result is the same as the
// nine-term formula. A neighbour beyond the top or left edge is the centre
// row or column itself; beyond the bottom or right edge is never needed
// (2i + 1 <= W - 1 for every i < W / 2).
//
// The work is cut into tiles of a fixed number of pixels held in small
// local arrays, so every loop has a constant trip count and no possible
// overlap with the bitmaps, which lets the compiler turn it into vector code.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "thumbnail/abitmap.h"

namespace tollgram::thumbnail {

namespace {

constexpr int32_t kTilePixels = 256;  // destination pixels per tile
constexpr int kLanes = 4;             // bytes of a pixel, summed separately

// One tile of `count` destination pixels of one row. `up`, `mid` and `down`
// point at the source column 2 × (first pixel of the tile) of the three
// rows; `leftColumn` is true when the tile starts at column 0 (the left
// neighbour is then the centre column itself).
inline void halveTile(const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out, int32_t count,
                      bool leftColumn) {
    // Vertical sums of the tile's 2 × count source pixels, at most 1020.
    uint16_t vertical[kTilePixels * 2 * kLanes];
    for (int32_t k = 0; k < count * 2 * kLanes; ++k) {
        vertical[k] = static_cast<uint16_t>(up[k] + 2 * mid[k] + down[k]);
    }
    // Centre columns and right neighbours apart, one pixel's four lanes as
    // one 64-bit word; odd[0] is the left neighbour of the first centre
    // column. Lane 3 is cleared here so the sums leave byte 3 at 0. Moving
    // whole words is what lets the compiler do this step in vector
    // registers; memcpy carries the lanes between the two views.
    constexpr uint64_t kColourLanes = 0x0000FFFFFFFFFFFFull;
    uint64_t evenWords[kTilePixels];
    uint64_t oddWords[kTilePixels + 1];
    uint64_t verticalWords[kTilePixels * 2];
    // Both copies move exactly the count entries the loops above filled.
    // cppcheck-suppress uninitvar
    std::memcpy(verticalWords, vertical, static_cast<size_t>(count) * 2 * sizeof(uint64_t));
    for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
        evenWords[i] = verticalWords[2 * i] & kColourLanes;
        oddWords[i + 1] = verticalWords[2 * i + 1] & kColourLanes;
    }
    uint16_t even[kTilePixels * kLanes];
    uint16_t odd[(kTilePixels + 1) * kLanes];
    // cppcheck-suppress uninitvar
    std::memcpy(even, evenWords, static_cast<size_t>(count) * sizeof(uint64_t));
    std::memcpy(odd + kLanes, oddWords + 1, static_cast<size_t>(count) * sizeof(uint64_t));
    for (int c = 0; c < 3; ++c) {
        odd[c] = leftColumn ? even[c] : static_cast<uint16_t>(up[c - 4] + 2 * mid[c - 4] + down[c - 4]);
    }
    odd[3] = 0;
    // Sums up to 4080: the shift by 4 is the division by 16.
    for (int32_t k = 0; k < count * kLanes; ++k) {
        out[k] = static_cast<uint8_t>((odd[k] + 2 * even[k] + odd[k + kLanes]) >> 4);
    }
}

void halveRow(const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out, int32_t outWidth) {
    int32_t first = 0;
    // Full tiles with the constant count, then the remainder.
    for (; first + kTilePixels <= outWidth; first += kTilePixels) {
        const size_t at = static_cast<size_t>(first) * 2 * kLanes;
        halveTile(up + at, mid + at, down + at, out + static_cast<size_t>(first) * kLanes, kTilePixels, first == 0);
    }
    if (first < outWidth) {
        const size_t at = static_cast<size_t>(first) * 2 * kLanes;
        halveTile(up + at, mid + at, down + at, out + static_cast<size_t>(first) * kLanes, outWidth - first,
                  first == 0);
    }
}

}  // namespace

int32_t ABitMap::Halve(const ABitMap& source) {
    if (&source == this || source.pixels == nullptr) return -1;
    // The filter reads 4-byte pixels with a stride of `width`: anything else
    // would read outside the source block.
    if (source.depth != 32 || source.dataWidth != source.width || source.dataHeight != source.height) return -1;
    return HalvePixels(source.pixels, source.width, source.height);
}

int32_t ABitMap::HalvePixels(const uint8_t* source, int32_t sourceWidth, int32_t sourceHeight) {
    if (source == nullptr || source == pixels || sourceWidth < 2 || sourceHeight < 2) return -1;
    const int32_t outWidth = sourceWidth / 2;
    const int32_t outHeight = sourceHeight / 2;
    if (Allocate(32, outWidth, outHeight) == nullptr) return -1;

    const size_t sourceStride = static_cast<size_t>(sourceWidth) * kLanes;
    const size_t outStride = static_cast<size_t>(outWidth) * kLanes;
    for (int32_t j = 0; j < outHeight; ++j) {
        const size_t y = static_cast<size_t>(j) * 2;
        const uint8_t* mid = source + y * sourceStride;
        const uint8_t* up = j == 0 ? mid : mid - sourceStride;
        const uint8_t* down = mid + sourceStride;
        halveRow(up, mid, down, pixels + static_cast<size_t>(j) * outStride, outWidth);
    }
    return 0;
}

}  // namespace tollgram::thumbnail
