#pragma once
#include <cstddef>
#include <cstdint>

namespace tollgram::thumbnail {

inline constexpr const char* kFileWriteErrorCaption = "FILE WRITE ERROR";
inline constexpr const char* kIncompleteWriteText = "Incomplete file write.";

// Makes the file at path hold exactly the block, whether it existed (longer
// or shorter) or not. 0 when every byte was written; -1 when the file can't
// be created or path names a device or a directory (no message), or the
// write fell short (a note on every such call). On -1 an existing file is
// left as it was and no new one is made.
int32_t WriteWholeFile(const char* path, const void* block, size_t byteCount);

}  // namespace tollgram::thumbnail
