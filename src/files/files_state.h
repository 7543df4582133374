#pragma once
// The files subsystem's state that outlives a call: the FileListBuffer, the
// dialog's default directory and title, the copy source and the app-link
// path. Texts have the fixed capacities below, terminator included.
#include <cstddef>

namespace tollgram::files {

inline constexpr size_t kAppLinkPathCapacity = 1024;
inline constexpr size_t kCopySourcePathCapacity = 512;
inline constexpr size_t kDefaultDirectoryCapacity = 512;
inline constexpr size_t kFileListBufferSize = 4096;
inline constexpr size_t kDialogTitleCapacity = 256;
inline constexpr const char* kDefaultDialogTitle = "Select Files";

struct FilesState {
    char appLinkPath[kAppLinkPathCapacity];
    char copySourcePath[kCopySourcePathCapacity];
    char defaultDirectory[kDefaultDirectoryCapacity];
    char fileListBuffer[kFileListBufferSize];
    char dialogTitle[kDialogTitleCapacity];
};

FilesState& filesState();

// Every field back to its load-time value.
void resetFilesState();

}  // namespace tollgram::files
