#pragma once
// Shared by the thumbnail tests: images as pixel words, a plain reference of
// the halving filter, files in a scratch folder.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tollgram::test {

struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // row 0 first
    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline Image randomImage(int32_t width, int32_t height, uint32_t seed) {
    Image image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    std::mt19937 random(seed);
    for (uint32_t& pixel : image.pixels) pixel = static_cast<uint32_t>(random());
    return image;
}

// Every pixel tells where it is: x in byte 0, y in byte 1, both low bits.
inline Image positionImage(int32_t width, int32_t height) {
    Image image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.pixels[static_cast<size_t>(y) * width + x] =
                0x80000000u | (static_cast<uint32_t>(y & 0xFF) << 8) | static_cast<uint32_t>(x & 0xFF) |
                (static_cast<uint32_t>((x >> 8) & 0xF) << 16) | (static_cast<uint32_t>((y >> 8) & 0xF) << 20);
        }
    }
    return image;
}

// The nine-term formula, one pixel at a time.
inline Image referenceHalve(const Image& source) {
    Image out{source.width / 2, source.height / 2, {}};
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    auto channel = [&](int32_t x, int32_t y, int c) -> uint32_t { return (source.at(x, y) >> (8 * c)) & 0xFF; };
    for (int32_t j = 0; j < out.height; ++j) {
        for (int32_t i = 0; i < out.width; ++i) {
            const int32_t x = 2 * i, y = 2 * j;
            const int32_t l = x == 0 ? x : x - 1, r = x == source.width - 1 ? x : x + 1;
            const int32_t u = y == 0 ? y : y - 1, d = y == source.height - 1 ? y : y + 1;
            uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) {
                const uint32_t sum = 4 * channel(x, y, c) +
                                     2 * (channel(x, u, c) + channel(x, d, c) + channel(l, y, c) + channel(r, y, c)) +
                                     channel(l, u, c) + channel(r, u, c) + channel(l, d, c) + channel(r, d, c);
                pixel |= (sum / 16) << (8 * c);
            }
            out.pixels[static_cast<size_t>(j) * out.width + i] = pixel;
        }
    }
    return out;
}

// One folder for the whole test process, removed when it ends, so that runs
// side by side never share a file and none is left behind.
inline std::string scratchPath(const std::string& name) {
    static const test::TempFolder folder;
    return folder.at(name);
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The RGB planes of a written file turned back into pixel words (byte 3 0).
inline Image imageFromPsd(const std::vector<uint8_t>& file) {
    auto be32 = [&](size_t at) {
        return static_cast<uint32_t>(file[at] << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3]);
    };
    Image image;
    if (file.size() < 40) return image;
    image.height = static_cast<int32_t>(be32(14));
    image.width = static_cast<int32_t>(be32(18));
    const size_t plane = static_cast<size_t>(image.width) * image.height;
    if (file.size() != 40 + 3 * plane) return image;
    image.pixels.resize(plane);
    for (size_t i = 0; i < plane; ++i) {
        image.pixels[i] = static_cast<uint32_t>(file[40 + i]) << 16 | static_cast<uint32_t>(file[40 + plane + i]) << 8 |
                          file[40 + 2 * plane + i];
    }
    return image;
}

}  // namespace tollgram::test
