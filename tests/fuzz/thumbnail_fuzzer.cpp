// The thumbnail pipeline over fuzzer-chosen sizes, checked against a plain
// pixel-by-pixel reduction.
//
// Byte 0 picks what runs:
// - even: SaveTextureThumbnail on a texture of fuzzer-chosen size, bits per
//   pixel and pixels, with a fuzzer-chosen target (a square `value` or the
//   stored size). The file written must hold exactly the plain reduction of
//   the texture; a refused call must leave no file.
// - odd: the shrink walk alone for a fuzzer-chosen size and target, then a
//   fuzzer-chosen sequence of halving, narrowing, lowering, margin
//   bookkeeping (also inconsistent) and margin passes on one bitmap, each
//   compared with the same steps on a plain copy.
// Pixel counts are capped at 2^14 so that one run stays well under 10 ms.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "../thumbnail/thumbnail_support.h"
#include "frame/exports.h"
#include "thumbnail/thumbnail_state.h"
#include "fuzz_input.h"
#include "substitute_host/substitute_host.h"
#include "thumbnail/abitmap.h"
#include "thumbnail/shrink_walk.h"

namespace {

using tollgram::test::Image;
using tollgram::thumbnail::ABitMap;

constexpr int64_t kMaxPixels = int64_t{1} << 14;

using tollgram::fuzz::Bytes;
using tollgram::fuzz::check;

// Halves the larger side until the product is within the cap.
void capPixels(int32_t& width, int32_t& height) {
    while (int64_t{width} * height > kMaxPixels) (width >= height ? width : height) /= 2;
}

// Pixels from the input's bytes, mixed with the position so that rows and
// columns differ.
std::vector<uint32_t> pixelsFrom(const std::vector<uint8_t>& seed, size_t count) {
    std::vector<uint32_t> pixels(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t b = seed[i % seed.size()];
        pixels[i] = (b * 0x01010101u) ^ static_cast<uint32_t>(i * 2654435761u);
    }
    return pixels;
}

// The kept indices, straight from the walk's definition.
std::vector<int32_t> plainWalk(int32_t size, int32_t target) {
    const float step = static_cast<float>(size) / static_cast<float>(target);
    const float cost = static_cast<float>(size) / static_cast<float>(size - target);
    float accumulator = 0.0f;
    int32_t excess = size - target, s = 0, remaining = size;
    std::vector<int32_t> kept;
    do {
        kept.push_back(s);
        while (excess > 0 && accumulator >= cost) {
            accumulator = tollgram::thumbnail::toSingle(accumulator - cost);
            ++s, --excess, --remaining;
        }
        accumulator = tollgram::thumbnail::toSingle(accumulator + step);
        ++s, --remaining;
    } while (remaining > 0);
    check(static_cast<int32_t>(kept.size()) >= target, "the walk kept fewer than the target");
    kept.resize(static_cast<size_t>(target));
    return kept;
}

void checkWalk(int32_t size, int32_t target) {
    std::vector<int32_t> kept;
    tollgram::thumbnail::shrinkWalk(size, target, size, [&](int32_t source, int32_t index) {
        check(index == static_cast<int32_t>(kept.size()), "kept indices out of order");
        check(source >= index && source < size, "a kept index outside the axis or ahead of its place");
        check(kept.empty() || source > kept.back(), "source indices not increasing");
        kept.push_back(source);
    });
    check(kept == plainWalk(size, target), "the walk keeps other indices");
}

Image shrinkColumns(const Image& image, int32_t target) {
    const std::vector<int32_t> kept = plainWalk(image.width, target);
    Image out{target, image.height, {}};
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t column : kept) out.pixels.push_back(image.at(column, y));
    }
    return out;
}

Image shrinkRows(const Image& image, int32_t target) {
    Image out{image.width, target, {}};
    for (int32_t row : plainWalk(image.height, target)) {
        for (int32_t x = 0; x < image.width; ++x) out.pixels.push_back(image.at(x, row));
    }
    return out;
}

struct Margins {
    int32_t left = 0, right = 0, top = 0, bottom = 0;
};

Image withMargins(const Image& image, const Margins& m, uint32_t fill) {
    Image out{m.left + image.width + m.right, m.top + image.height + m.bottom, {}};
    out.pixels.assign(static_cast<size_t>(out.width) * out.height, fill);
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            out.pixels[static_cast<size_t>(y + m.top) * out.width + x + m.left] = image.at(x, y);
        }
    }
    return out;
}

// The whole reduction to target, as the steps of SaveTextureThumbnail give
// it, bytes 0 to 2 of each pixel (all the file keeps).
Image plainThumbnail(Image image, int32_t targetWidth, int32_t targetHeight) {
    while (image.width > targetWidth && image.height > targetHeight) image = tollgram::test::referenceHalve(image);
    Margins m;
    if (image.width < targetWidth) {
        m.right = (targetWidth - image.width + 1) / 2;
        m.left = (targetWidth - image.width) / 2;
    }
    if (image.height < targetHeight) {
        m.bottom = (targetHeight - image.height + 1) / 2;
        m.top = (targetHeight - image.height) / 2;
    }
    if (image.width > targetWidth) image = shrinkColumns(image, targetWidth);
    if (image.height > targetHeight) image = shrinkRows(image, targetHeight);
    image = withMargins(image, m, 0);
    for (uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFFu;
    return image;
}

const std::string& thumbnailPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tollgram-thumbnail-fuzz-" + std::to_string(std::random_device{}()) + ".psd"))
            .string();
    static const bool removedAtExit = std::atexit([] { std::remove(path.c_str()); }) == 0;
    (void)removedAtExit;
    return path;
}

void fuzzExport(Bytes& in) {
    static const int32_t kDepths[] = {32, 32, 32, 32, 24, 16, 8, 0, -32, 64};
    const auto widthField = static_cast<int32_t>(uint32_t{in.next16()} << 16 | uint32_t{in.next()} << 8);
    const auto heightField = static_cast<int32_t>(uint32_t{in.next16()} << 16 | uint32_t{in.next()} << 8);
    const int32_t depth = kDepths[in.next() % std::size(kDepths)];
    const uint8_t targetShape = in.next();
    double value = 0.0;
    auto& state = tollgram::thumbnail::thumbnailState();
    state.thumbnailWidth = static_cast<int16_t>(in.next16());
    state.thumbnailHeight = static_cast<int16_t>(in.next16());
    switch (targetShape % 4) {
        case 0: value = in.next16() + in.next() / 256.0; break;
        case 1: value = -static_cast<double>(in.next()); break;
        case 2: value = std::numeric_limits<double>::quiet_NaN(); break;
        default: break;  // 0: the stored size
    }
    const bool noPixels = (targetShape & 0x80) != 0;

    // The integer parts as the pipeline reads them, kept within the cap.
    int32_t width = static_cast<int16_t>(static_cast<uint32_t>(widthField) >> 16);
    int32_t height = static_cast<int16_t>(static_cast<uint32_t>(heightField) >> 16);
    int32_t storedWidth = width, storedHeight = height;
    if (width > 0 && height > 0) capPixels(storedWidth, storedHeight);
    const bool square = value > 0;
    int32_t targetWidth = square ? static_cast<int32_t>(value) : state.thumbnailWidth;
    int32_t targetHeight = square ? static_cast<int32_t>(value) : state.thumbnailHeight;
    if (targetWidth > 0 && targetHeight > 0 && int64_t{targetWidth} * targetHeight > kMaxPixels) {
        if (square) {
            while (int64_t{targetWidth} * targetWidth > kMaxPixels) targetWidth /= 2;
            value = targetHeight = targetWidth;
        } else {
            capPixels(targetWidth, targetHeight);
            state.thumbnailWidth = targetWidth;
            state.thumbnailHeight = targetHeight;
        }
    }

    tollgram::substitute::SubstituteHost host;
    const bool positive = storedWidth > 0 && storedHeight > 0;
    const size_t count = positive ? static_cast<size_t>(storedWidth) * static_cast<size_t>(storedHeight) : 0;
    const std::vector<uint32_t> pixels = pixelsFrom(in.rest(), count);
    // Only a 32-bit texture is ever read; other depths get a block of their
    // own size.
    std::vector<uint8_t> bytes(count * static_cast<size_t>(std::max(depth, 0) / 8));
    if (!bytes.empty()) std::memcpy(bytes.data(), pixels.data(), std::min(bytes.size(), pixels.size() * 4));
    uint8_t* texture = host.setTexture(std::max(storedWidth, 0), std::max(storedHeight, 0), depth, bytes.data());
    namespace field = tollgram::host::texture;
    const uint32_t fraction = 0xFF00u;
    tollgram::substitute::SubstituteHost::set32(
        texture, field::kWidth, static_cast<uint32_t>(storedWidth) << 16 | (static_cast<uint32_t>(widthField) & fraction));
    tollgram::substitute::SubstituteHost::set32(
        texture, field::kHeight, static_cast<uint32_t>(storedHeight) << 16 | (static_cast<uint32_t>(heightField) & fraction));
    if (noPixels) {
        tollgram::substitute::SubstituteHost::set32(tollgram::host::pointerAt(texture, field::kPixels),
                                                    tollgram::host::buffer_record::kElements, 0);
    }

    const std::string& path = thumbnailPath();
    std::remove(path.c_str());
    const float result = ::SaveTextureThumbnail(path.c_str(), value, nullptr, 0, 0, 0, host.context());
    const bool refused = storedWidth == 0 || storedHeight == 0 || targetWidth < 4 || targetHeight < 4 ||
                         depth != 32 || storedWidth < 0 || storedHeight < 0 || noPixels;
    if (refused) {
        check(result == -1.0f, "a call that must be refused was not");
        check(!std::filesystem::exists(path), "a refused call left a file");
        return;
    }
    check(result == 0.0f, "a sound call failed");
    const Image written = tollgram::test::imageFromPsd(tollgram::test::readBytes(path));
    check(written.width == targetWidth && written.height == targetHeight, "the file is not of the target size");
    const Image expected = plainThumbnail(Image{storedWidth, storedHeight, pixels}, targetWidth, targetHeight);
    check(written.pixels == expected.pixels, "the file's pixels differ from the plain reduction");
}

// A bitmap beside a plain copy of what it should hold.
struct Pair {
    ABitMap bitmap;
    Image image;  // the stored pixels (dataWidth × dataHeight)
    Margins margins;

    void compare() const {
        const ABitMap& b = bitmap;
        check(b.dataWidth == image.width && b.dataHeight == image.height, "stored size differs");
        check(b.marginLeft == margins.left && b.marginRight == margins.right && b.marginTop == margins.top &&
                  b.marginBottom == margins.bottom,
              "margins differ");
        if (b.depth != 32 || b.pixels == nullptr) return;
        check(std::memcmp(b.pixels, image.pixels.data(), image.pixels.size() * 4) == 0, "pixels differ");
    }
};

void fuzzBitmap(Bytes& in) {
    const int32_t walkSize = 2 + in.next16() % 32767;
    checkWalk(walkSize, 1 + in.next16() % (walkSize - 1));

    static const int32_t kDepths[] = {32, 32, 32, 24, 16, 8};
    const int32_t depth = kDepths[in.next() % std::size(kDepths)];
    int32_t width = 1 + in.next16() % 1024, height = 1 + in.next16() % 1024;
    capPixels(width, height);
    Pair pair;
    ABitMap& b = pair.bitmap;
    check(b.Allocate(depth, width, height) != nullptr, "allocation failed");
    const std::vector<uint32_t> pixels = pixelsFrom(in.rest(), static_cast<size_t>(width) * height);
    std::memcpy(b.pixels, pixels.data(), static_cast<size_t>(width) * height * static_cast<size_t>(depth / 8));
    pair.image = Image{width, height, pixels};
    // The second work bitmap, as the pipeline has it.
    ABitMap other;

    for (int op = 0; op < 8; ++op) {
        const uint8_t code = in.next();
        const int32_t amount = static_cast<int8_t>(in.next());
        // Margins pending on one axis leave the other free to shrink.
        const bool pendingColumns = b.width != b.dataWidth;
        const bool pendingRows = b.height != b.dataHeight;
        const bool sound = b.marginLeft >= 0 && b.marginRight >= 0 && b.marginTop >= 0 && b.marginBottom >= 0 &&
                           int64_t{b.marginLeft} + b.dataWidth + b.marginRight == b.width &&
                           int64_t{b.marginTop} + b.dataHeight + b.marginBottom == b.height;
        switch (code % 6) {
            case 0: {  // halving into the other bitmap
                const bool can = b.depth == 32 && !pendingColumns && !pendingRows && b.width >= 2 && b.height >= 2;
                check((other.Halve(b) == 0) == can, "halving accepted or refused wrongly");
                if (!can) break;
                check(other.width == b.width / 2 && other.height == b.height / 2, "halving gave another size");
                check(other.marginLeft == 0 && other.marginBottom == 0, "halving set margins");
                std::swap(b, other);
                other.Free();
                other = ABitMap{};
                pair.image = tollgram::test::referenceHalve(pair.image);
                pair.margins = {};
                break;
            }
            case 1: {  // narrowing; a negative amount asks for no narrowing
                const int32_t target = amount < 0 ? b.width + (amount & 3)
                                                  : b.width - 1 - amount % std::max(b.width, 1);
                const bool acts = b.depth == 32 && !pendingColumns && target > 0 && target < b.width;
                b.ShrinkWidth(target);
                if (acts) {
                    check(b.width == target && b.dataWidth == target, "narrowing gave another width");
                    pair.image = shrinkColumns(pair.image, target);
                }
                break;
            }
            case 2: {  // lowering, at any depth
                const int32_t target = amount < 0 ? b.height + (amount & 3)
                                                  : b.height - 1 - amount % std::max(b.height, 1);
                const bool acts = !pendingRows && target > 0 && target < b.height;
                b.ShrinkHeight(target);
                if (acts) {
                    check(b.height == target && b.dataHeight == target, "lowering gave another height");
                    pair.image = shrinkRows(pair.image, target);
                }
                break;
            }
            case 3:  // margins as the pipeline records them
                b.marginLeft += amount & 7;
                b.marginRight += (amount >> 3) & 7;
                b.width += (amount & 7) + ((amount >> 3) & 7);
                b.marginTop += (amount >> 4) & 3;
                b.height += (amount >> 4) & 3;
                pair.margins.left += amount & 7;
                pair.margins.right += (amount >> 3) & 7;
                pair.margins.top += (amount >> 4) & 3;
                break;
            case 4:  // bookkeeping that no longer adds up
                b.marginBottom += amount;
                pair.margins.bottom += amount;
                break;
            case 5: {  // the margin pass
                b.fillValue = static_cast<uint32_t>(amount) * 0x01020304u;
                const bool can = b.depth == 32 && sound;
                other.marginTop = amount;  // the target's own margins are left as they are
                check((b.ApplyMargins(other) == 0) == can, "margins applied or refused wrongly");
                check(other.marginTop == amount && other.marginLeft == 0, "the margin pass changed the target's margins");
                other.marginTop = 0;
                if (!can) break;
                check(other.width == b.width && other.height == b.height && other.dataWidth == b.width &&
                          other.dataHeight == b.height,
                      "the margin pass gave another size");
                const uint32_t fill = b.fillValue;
                std::swap(b, other);
                other.Free();
                other = ABitMap{};
                pair.image = withMargins(pair.image, pair.margins, fill);
                pair.margins = {};
                break;
            }
        }
        pair.compare();
    }
    b.Free();
    other.Free();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    if (in.next() % 2 == 0) {
        fuzzExport(in);
    } else {
        fuzzBitmap(in);
    }
    return 0;
}
