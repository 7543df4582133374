#pragma once
// The planar bitmap that carries a texture through the thumbnail pipeline.
//
// Margins are pending: they count in width and height but are not stored in
// pixels until ApplyMargins builds a bitmap that holds them, so
//   width  = marginLeft + dataWidth + marginRight
//   height = marginTop + dataHeight + marginBottom.
// Rows lie in memory row 0 first (the top row of the file), contiguous, with
// dataWidth pixels each. A 32-bit pixel is a little-endian word whose bytes
// 2, 1, 0 are red, green, blue; byte 3 never reaches the file.
#include <cstdint>

namespace tollgram::thumbnail {

struct ABitMap {
    int32_t width = 0;         // margins included
    int32_t height = 0;        // margins included
    int32_t depth = 0;         // bits per pixel; a pixel takes depth >> 3 bytes
    int32_t dataWidth = 0;     // pixels in each stored row
    int32_t dataHeight = 0;    // stored rows
    int32_t marginLeft = 0;
    int32_t marginRight = 0;
    int32_t marginTop = 0;
    int32_t marginBottom = 0;
    uint32_t fillValue = 0;    // every margin pixel
    uint8_t* pixels = nullptr; // owned: from trackedAlloc, released with free

    // Releases any pixels held, takes the new size (margins and fillValue
    // stay as they are) and allocates (depth / 8) × width × height bytes.
    // Returns the block, or null after the out-of-memory note.
    uint8_t* Allocate(int32_t newDepth, int32_t newWidth, int32_t newHeight);

    // Releases the pixels and zeroes width, height and depth.
    void Free();

    // The results below are 0 for success and -1 for failure.

    // Takes a copy of the pixels of a host texture record.
    int32_t CopyFromTexture(const void* textureRecord);

    // Replaces this bitmap by source reduced 2:1 on both axes with a 3×3
    // weighted filter. source must be another 32-bit bitmap without
    // pending margins.
    int32_t Halve(const ABitMap& source);

    // The same from a block of 32-bit pixels that this bitmap doesn't own,
    // rows of sourceWidth pixels: the host's texture, read in place.
    int32_t HalvePixels(const uint8_t* source, int32_t sourceWidth, int32_t sourceHeight);

    // The first halving pass straight from a 32-bit host texture record, as
    // CopyFromTexture followed by Halve would give it, without the copy.
    int32_t HalveTexture(const void* textureRecord);

    // In place: keeps `target` evenly spread columns (rows). Does nothing
    // unless there is something to drop.
    void ShrinkWidth(int32_t target);
    void ShrinkHeight(int32_t target);

    // Gives target this bitmap's full size with the pending margins stored
    // as fillValue pixels.
    int32_t ApplyMargins(ABitMap& target) const;
};

// Bytes of one pixel of the given depth.
inline int32_t bytesPerPixel(int32_t depth) { return depth >> 3; }

}  // namespace tollgram::thumbnail
