#pragma once
// A script's questions about the current model, by key.
#include <cstdint>

#include "frame/outcome.h"

namespace tollgram::obj {

// "vertexCount", "faceCount", "groupCount", "smoothGroupCount".
Outcome modelInfo(const char* key);

// Group value (from 1): "name" into buffer (UnusableInput without one),
// "vertexCount" as the group's vertex range.
Outcome groupInfo(const char* key, double value, char* buffer, int32_t bufferSize);

// "count", or "value" of the smoothing group at position value (from 1).
Outcome smoothingGroupInfo(const char* key, double value);

}  // namespace tollgram::obj
