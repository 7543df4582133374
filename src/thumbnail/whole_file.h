#pragma once
#include <cstddef>
#include <cstdint>

namespace tollgram::thumbnail {

inline constexpr const char* kFileWriteErrorCaption = "FILE WRITE ERROR";
inline constexpr const char* kIncompleteWriteText = "Incomplete file write.";

// Makes the file at path hold exactly the block: an existing file is
// overwritten from its start and cut after the block, a missing one created.
// 0 when every byte was written; -1 when the file can't be opened or created
// (no message) or the write fell short (a note on every such call; the file
// then ends after the bytes that were written).
int32_t WriteWholeFile(const char* path, const void* block, size_t byteCount);

}  // namespace tollgram::thumbnail
