#pragma once
// The names of the current alpha and texture. Both records hold their name
// in a name record at the same offset.
#include <cstdint>

#include "frame/outcome.h"

namespace tollgram::host {

Outcome renameAlpha(const void* hostContext, const char* text);
Outcome renameTexture(const void* hostContext, const char* text);

// Key "name": the name into buffer.
Outcome alphaNameInfo(const void* hostContext, const char* key, char* buffer, int32_t bufferSize);
Outcome textureNameInfo(const void* hostContext, const char* key, char* buffer, int32_t bufferSize);

}  // namespace tollgram::host
