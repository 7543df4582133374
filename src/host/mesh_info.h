#pragma once
// The current mesh's group names, import scale and offset, crease clearing,
// and the mask value later transfers use, by key.
#include <cstdint>

#include "frame/outcome.h"

namespace tollgram::host {

// "groupCount", "groupName" (entry value, from 0, into buffer), or one of
// the six import scale and offset fields as stored.
Outcome meshInfo(const void* hostContext, const char* key, double value, char* buffer, int32_t bufferSize);

// "maskValue", "smoothAll" (the polygon count), or an import field set to
// value.
Outcome setMeshInfo(void* hostContext, const char* key, double value);

}  // namespace tollgram::host
