#pragma once
// The thumbnail subsystem's state that outlives a call: the size SetThumbnail
// sets and SaveTextureThumbnail reads.
#include <cstdint>

namespace tollgram::thumbnail {

struct ThumbnailState {
    int32_t thumbnailWidth;
    int32_t thumbnailHeight;
};

ThumbnailState& thumbnailState();

// Both back to 0, their load-time value.
void resetThumbnailState();

}  // namespace tollgram::thumbnail
