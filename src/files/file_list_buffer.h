#pragma once
// The FileListBuffer: NUL-terminated texts ended by an empty text. Either
// all zero (nothing listed), one full path, or a directory followed by bare
// file names. GetFileList and GetDirFileList write it, GetFileInfo reads it.
#include <cstddef>
#include <string_view>

#include "files/files_state.h"

namespace tollgram::files {

inline constexpr size_t kListSize = kFileListBufferSize;

// The counting rule: count NUL bytes from position 0 up to the first pair of
// adjacent NULs within bytes 0..4094; one NUL counts one file, more count
// one less than their number (the directory is not a file). Without such a
// pair, the number of NULs seen. An all-zero buffer reads as 1.
int countListedFiles(const char* list);

// The first text of the list; absent (data() null) when it has no
// terminator inside the list.
std::string_view firstListedText(const char* list);

// The index-th text after the first (index from 1), found by walking from
// the first text's terminator. Absent (data() null) when the walk leaves
// the list or a text has no terminator inside it.
std::string_view listedTextAfterFirst(const char* list, int index);

void clearList(char* list);

}  // namespace tollgram::files
