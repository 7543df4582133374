#pragma once
// The size of the host's current texture as the thumbnail pipeline reads it.
#include <cstdint>

#include "host/records.h"

namespace tollgram::thumbnail {

struct TextureSize {
    int32_t width;         // integer part of the 16.16 field, signed
    int32_t height;
    int32_t bitsPerPixel;
};

// Width and height are 16.16 fixed point; their integer part is the signed
// 16-bit number in the upper half (+2 within the field).
inline TextureSize readTextureSize(const void* textureRecord) {
    return TextureSize{host::readI16(textureRecord, host::texture::kWidth + 2),
                       host::readI16(textureRecord, host::texture::kHeight + 2),
                       host::readI32(textureRecord, host::texture::kBitsPerPixel)};
}

}  // namespace tollgram::thumbnail
