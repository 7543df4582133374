#pragma once
// The platform's open-file dialog, as the library calls it (through the
// system table, system.h). Windows: GetOpenFileNameA. POSIX: zenity's file
// selection when it is installed, otherwise a dialog that is cancelled at
// once.
#include <cstddef>

#include "platform/system.h"

namespace tollgram::platform {

struct OpenFileRequest {
    const char* filterList;        // pairs of description and patterns, ended by an empty text
    char* fileBuffer;              // receives the choice in the file-list layouts
    size_t fileBufferSize;
    const char* initialDirectory;  // passed also when empty
    const char* title;
    bool multipleSelection;
};

}  // namespace tollgram::platform
