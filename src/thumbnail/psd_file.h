#pragma once
// Bitmaps written as Adobe Photoshop documents (version 1): a 26-byte
// header, empty colour-mode, image-resource and layer sections, and the
// image data raw, one complete plane per channel. Built in one block and
// written in one go.
#include <cstddef>
#include <cstdint>

#include "thumbnail/abitmap.h"

namespace tollgram::thumbnail {

inline constexpr size_t kPsdHeaderBytes = 40;  // header, three section lengths, compression
inline constexpr const char* kSavePlanesCaller = "SaveBMapPlanes";
inline constexpr int32_t kMaxPlanes = 16;

// Writes a finished 32-bit bitmap (no pending margins) to path as red, green
// and blue planes (channel bytes 2, 1, 0). 0 or -1; -1 for any other depth.
int32_t SaveBMap(const ABitMap& bitmap, const char* path);

// Writes `planeCount` planes of 8 or 16 bits (colour mode RGB for 3 or 4
// planes, else grey for 16 bits and multichannel for 8), plane p being byte channelOffsets[p] of every
// pixel of planeBitmaps[p] (16-bit samples: the two bytes from that offset
// on). The header's size is `bitmap`'s; every plane bitmap must match it.
int32_t SaveBMapPlanes(const ABitMap& bitmap, int32_t planeCount, const char* path, int32_t bitsPerChannel,
                       const ABitMap* const* planeBitmaps, const int32_t* channelOffsets);

// Packs one plane into block from byte `at` on, rows top first, one sample
// per pixel (16-bit samples big-endian), and returns the position after it.
// With a null block it only counts. Both passes of the writer go through
// here, so the size and the content can't disagree.
size_t PackPlane(const ABitMap& bitmap, int32_t channelOffset, int32_t bitsPerChannel, uint8_t* block, size_t at);

}  // namespace tollgram::thumbnail
