#include "thumbnail/abitmap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "frame/message_box.h"
#include "frame/tracked_alloc.h"

namespace tollgram::thumbnail {

namespace {
constexpr const char* kAllocateCaller = "ABitMap::Allocate";

// The block size, or 0 when it can't be expressed: a negative size, or more
// bytes than this process can address (a 32-bit product would wrap).
uint64_t blockBytes(int32_t depth, int32_t width, int32_t height) {
    if (depth < 0 || width < 0 || height < 0) return 0;
    const uint64_t bytes = static_cast<uint64_t>(bytesPerPixel(depth)) * static_cast<uint64_t>(width) *
                           static_cast<uint64_t>(height);
    return bytes <= SIZE_MAX ? bytes : 0;
}
}  // namespace

uint8_t* ABitMap::Allocate(int32_t newDepth, int32_t newWidth, int32_t newHeight) {
    std::free(pixels);
    pixels = nullptr;
    depth = newDepth;
    width = dataWidth = newWidth;
    height = dataHeight = newHeight;
    const uint64_t bytes = blockBytes(newDepth, newWidth, newHeight);
    const bool empty = newDepth >= 0 && newWidth >= 0 && newHeight >= 0 &&
                       (bytesPerPixel(newDepth) == 0 || newWidth == 0 || newHeight == 0);
    if (bytes == 0 && !empty) {
        // No heap could give this much: the same note as a refused malloc.
        showNote(kOutOfMemoryCaption, kAllocateCaller);
        return nullptr;
    }
    pixels = static_cast<uint8_t*>(trackedAlloc(static_cast<size_t>(bytes), kAllocateCaller));
    return pixels;
}

void ABitMap::Free() {
    std::free(pixels);
    pixels = nullptr;
    width = 0;
    height = 0;
    depth = 0;
}

}  // namespace tollgram::thumbnail
