#pragma once
// The host's current texture reduced to the requested size and saved as a
// Photoshop document.
#include "frame/outcome.h"

namespace tollgram::thumbnail {

// "width" or "height" of later thumbnails, value truncated.
Outcome setThumbnailSize(const char* key, double value);

// The texture as a thumbnail at path: square of side value when value is
// positive, else of the stored size.
Outcome saveTextureThumbnail(const void* hostContext, const char* path, double value);

}  // namespace tollgram::thumbnail
