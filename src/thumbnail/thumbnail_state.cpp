#include "thumbnail/thumbnail_state.h"

namespace tollgram::thumbnail {

namespace {
constinit ThumbnailState g_state{};
}  // namespace

ThumbnailState& thumbnailState() { return g_state; }

void resetThumbnailState() { g_state = ThumbnailState{}; }

}  // namespace tollgram::thumbnail
