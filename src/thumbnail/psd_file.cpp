#include "thumbnail/psd_file.h"

#include <cstdlib>
#include <cstring>

#include "frame/message_box.h"
#include "frame/tracked_alloc.h"
#include "thumbnail/whole_file.h"

namespace tollgram::thumbnail {

namespace {

enum ColourMode : uint16_t { kGrayscale = 1, kRgb = 3, kMultichannel = 7 };

void putU16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

void putU32(uint8_t* at, uint32_t value) {
    putU16(at, value >> 16);
    putU16(at + 2, value & 0xFFFFu);
}

uint16_t colourModeFor(int32_t planeCount, int32_t bitsPerChannel) {
    if (planeCount == 3 || planeCount == 4) return kRgb;
    return bitsPerChannel == 16 ? kGrayscale : kMultichannel;
}

void writeHeader(uint8_t* block, const ABitMap& bitmap, int32_t planeCount, int32_t bitsPerChannel) {
    std::memset(block, 0, kPsdHeaderBytes);  // reserved bytes, empty sections, raw data
    std::memcpy(block, "8BPS", 4);  // NOLINT(bugprone-not-null-terminated-result): a signature, not a text
    putU16(block + 4, 1);                                        // version
    putU16(block + 12, static_cast<uint32_t>(planeCount));       // channels
    putU32(block + 14, static_cast<uint32_t>(bitmap.height));    // rows
    putU32(block + 18, static_cast<uint32_t>(bitmap.width));     // columns
    putU16(block + 22, static_cast<uint32_t>(bitsPerChannel));
    putU16(block + 24, colourModeFor(planeCount, bitsPerChannel));
}

bool isFinished(const ABitMap& bitmap) {
    return bitmap.pixels != nullptr && bitmap.width > 0 && bitmap.height > 0 && bitmap.dataWidth == bitmap.width &&
           bitmap.dataHeight == bitmap.height;
}

// A plane may only read bytes of its own pixel.
bool planeFits(const ABitMap& plane, const ABitMap& bitmap, int32_t channelOffset, int32_t bitsPerChannel) {
    const int32_t sampleBytes = bitsPerChannel / 8;
    return isFinished(plane) && plane.width == bitmap.width && plane.height == bitmap.height && channelOffset >= 0 &&
           channelOffset + sampleBytes <= bytesPerPixel(plane.depth);
}

}  // namespace

size_t PackPlane(const ABitMap& bitmap, int32_t channelOffset, int32_t bitsPerChannel, uint8_t* block, size_t at) {
    const size_t samples = static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height);
    const size_t sampleBytes = static_cast<size_t>(bitsPerChannel / 8);
    if (block == nullptr) return at + samples * sampleBytes;

    const size_t stride = static_cast<size_t>(bytesPerPixel(bitmap.depth));
    const uint8_t* from = bitmap.pixels + channelOffset;
    uint8_t* to = block + at;
    if (sampleBytes == 2) {
        // Little-endian in memory, big-endian in the file.
        for (size_t i = 0; i < samples; ++i, from += stride, to += 2) {
            to[0] = from[1];
            to[1] = from[0];
        }
    } else {
        for (size_t i = 0; i < samples; ++i, from += stride) *to++ = *from;
    }
    return static_cast<size_t>(to - block);
}

int32_t SaveBMapPlanes(const ABitMap& bitmap, int32_t planeCount, const char* path, int32_t bitsPerChannel,
                       const ABitMap* const* planeBitmaps, const int32_t* channelOffsets) {
    if (path == nullptr || planeBitmaps == nullptr || channelOffsets == nullptr) return -1;
    if (planeCount < 1 || planeCount > kMaxPlanes || (bitsPerChannel != 8 && bitsPerChannel != 16)) return -1;
    if (!isFinished(bitmap)) return -1;
    for (int32_t p = 0; p < planeCount; ++p) {
        if (planeBitmaps[p] == nullptr || !planeFits(*planeBitmaps[p], bitmap, channelOffsets[p], bitsPerChannel)) {
            return -1;
        }
    }

    // Sized in 64 bits first: on a 32-bit build the count could wrap.
    const uint64_t wide = kPsdHeaderBytes + static_cast<uint64_t>(planeCount) * static_cast<uint64_t>(bitmap.width) *
                                                static_cast<uint64_t>(bitmap.height) *
                                                static_cast<uint64_t>(bitsPerChannel / 8);
    if (wide > SIZE_MAX) {
        showNote(kOutOfMemoryCaption, kSavePlanesCaller);
        return -1;
    }
    size_t size = kPsdHeaderBytes;
    for (int32_t p = 0; p < planeCount; ++p) {
        size = PackPlane(*planeBitmaps[p], channelOffsets[p], bitsPerChannel, nullptr, size);
    }

    auto* block = static_cast<uint8_t*>(trackedAlloc(size, kSavePlanesCaller));
    if (block == nullptr) return -1;
    writeHeader(block, bitmap, planeCount, bitsPerChannel);
    size_t at = kPsdHeaderBytes;
    for (int32_t p = 0; p < planeCount; ++p) {
        at = PackPlane(*planeBitmaps[p], channelOffsets[p], bitsPerChannel, block, at);
    }
    const int32_t result = WriteWholeFile(path, block, size);
    std::free(block);
    return result;
}

int32_t SaveBMap(const ABitMap& bitmap, const char* path) {
    if (bitmap.depth != 32) return -1;
    // Red, green, blue: bytes 2, 1, 0; byte 3 stays out of the file.
    const ABitMap* const planes[] = {&bitmap, &bitmap, &bitmap};
    const int32_t offsets[] = {2, 1, 0};
    return SaveBMapPlanes(bitmap, 3, path, 8, planes, offsets);
}

}  // namespace tollgram::thumbnail
