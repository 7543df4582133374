#pragma once
// One entry of the file list, as a full path ("fullname") or as a bare name
// ("name"), copied into a caller's buffer.
#include <cstdint>

#include "frame/outcome.h"

namespace tollgram::files {

// Entry value (from 1, truncated) of the FileListBuffer into buffer; the
// length placed, or a failure when nothing is placed.
Outcome listedFileInfo(const char* key, double value, char* buffer, int32_t bufferSize);

}  // namespace tollgram::files
