#include <cstdlib>
#include <cstring>

#include "host/records.h"
#include "thumbnail/abitmap.h"
#include "thumbnail/texture_size.h"

namespace tollgram::thumbnail {

int32_t ABitMap::CopyFromTexture(const void* textureRecord) {
    std::free(pixels);
    pixels = nullptr;
    const uint8_t* buffer = host::pointerAt(textureRecord, host::texture::kPixels);
    const uint8_t* source = host::pointerAt(buffer, host::buffer_record::kElements);
    if (source == nullptr) return -1;
    const TextureSize size = readTextureSize(textureRecord);
    if (Allocate(size.bitsPerPixel, size.width, size.height) == nullptr) return -1;
    const size_t bytes = static_cast<size_t>(bytesPerPixel(depth)) * static_cast<size_t>(width) *
                         static_cast<size_t>(height);
    if (bytes != 0) std::memcpy(pixels, source, bytes);
    return 0;
}

int32_t ABitMap::HalveTexture(const void* textureRecord) {
    std::free(pixels);
    pixels = nullptr;
    const uint8_t* buffer = host::pointerAt(textureRecord, host::texture::kPixels);
    const uint8_t* source = host::pointerAt(buffer, host::buffer_record::kElements);
    if (source == nullptr) return -1;  // also when there is no record to read the size from
    const TextureSize size = readTextureSize(textureRecord);
    if (size.bitsPerPixel != 32) return -1;
    return HalvePixels(source, size.width, size.height);
}

}  // namespace tollgram::thumbnail
