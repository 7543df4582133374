#include "thumbnail/texture_thumbnail.h"

// Reduction: 2:1 halving while both axes are above their targets, then per
// axis either dropping evenly spread columns (rows) or adding black margins,
// centred, with the larger half of an odd difference right (bottom).
#include <cstdint>

#include "frame/export_keys.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "host/records.h"
#include "thumbnail/abitmap.h"
#include "thumbnail/psd_file.h"
#include "thumbnail/texture_size.h"
#include "thumbnail/thumbnail_state.h"

namespace tollgram::thumbnail {

namespace {

constexpr int32_t kMinimumSide = 4;
constexpr int32_t kPipelineDepth = 32;

struct Target {
    int32_t width;
    int32_t height;
};

// A positive value asks for a square thumbnail of that side; anything else
// (0, negative, not a number) means the stored size.
Target targetSize(double value) {
    if (isPositive(value)) {
        const int32_t side = truncToInt32(value);
        return {side, side};
    }
    return {thumbnailState().thumbnailWidth, thumbnailState().thumbnailHeight};
}

// Centred padding: the right (bottom) margin takes the larger half.
void padAxis(int32_t& size, int32_t& before, int32_t& after, int32_t target) {
    if (size >= target) return;
    const int32_t missing = target - size;
    after += missing - missing / 2;
    before += missing / 2;
    size = target;
}

// The two work bitmaps; whatever is still held is released on the way out.
struct WorkBitmaps {
    ABitMap first;
    ABitMap second;
    ABitMap* current = &first;
    ABitMap* other = &second;

    WorkBitmaps() { first.depth = second.depth = kPipelineDepth; }
    ~WorkBitmaps() {
        first.Free();
        second.Free();
    }
    WorkBitmaps(const WorkBitmaps&) = delete;
    WorkBitmaps& operator=(const WorkBitmaps&) = delete;

    // The other bitmap now holds the result: release the source at once so
    // that at most two pixel blocks are ever alive.
    void swapAfterFilling() {
        current->Free();
        ABitMap* filled = other;
        other = current;
        current = filled;
    }
};

}  // namespace

Outcome setThumbnailSize(const char* key, double value) {
    if (keyIs(key, keys::kWidth)) {
        thumbnailState().thumbnailWidth = truncToInt32(value);
        return succeeded();
    }
    if (keyIs(key, keys::kHeight)) {
        thumbnailState().thumbnailHeight = truncToInt32(value);
        return succeeded();
    }
    return failed();
}

Outcome saveTextureThumbnail(const void* hostContext, const char* path, double value) {
    const Target target = targetSize(value);
    const uint8_t* texture = host::pointerAt(hostContext, host::context::kTextureRecord);
    if (texture == nullptr) return failed();
    const TextureSize size = readTextureSize(texture);
    if (size.width == 0 || size.height == 0) return failed();  // below one pixel (the integer part is 0)
    if (path == nullptr) return failed();
    if (target.width < kMinimumSide || target.height < kMinimumSide) return failed();
    // The pipeline reads 4-byte pixels, and a negative size can't be
    // allocated: both are refused before anything is.
    if (size.bitsPerPixel != kPipelineDepth || size.width < 0 || size.height < 0) return failed();

    WorkBitmaps work;
    // When the texture is to be halved at all, the first pass reads it in
    // place: the same pixels as halving a copy, without a copy of the
    // largest image of the pipeline (for a 4096 × 4096 texture, 64 MiB
    // written only to be read once).
    const bool halving = size.width > target.width && size.height > target.height;
    if (halving) {
        if (work.current->HalveTexture(texture) != 0) return failed();
    } else if (work.current->CopyFromTexture(texture) != 0) {
        return failed();
    }

    while (work.current->width > target.width && work.current->height > target.height) {
        if (work.other->Halve(*work.current) != 0) return failed();
        work.swapAfterFilling();
    }

    ABitMap& bitmap = *work.current;
    bitmap.fillValue = 0;
    padAxis(bitmap.width, bitmap.marginLeft, bitmap.marginRight, target.width);
    padAxis(bitmap.height, bitmap.marginTop, bitmap.marginBottom, target.height);
    if (bitmap.width > target.width) bitmap.ShrinkWidth(target.width);
    if (bitmap.height > target.height) bitmap.ShrinkHeight(target.height);

    if (bitmap.marginLeft != 0 || bitmap.marginRight != 0 || bitmap.marginTop != 0 || bitmap.marginBottom != 0) {
        if (bitmap.ApplyMargins(*work.other) != 0) return failed();
        work.swapAfterFilling();
    }
    return SaveBMap(*work.current, path) == 0 ? succeeded() : failed();
}

}  // namespace tollgram::thumbnail
