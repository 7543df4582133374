#pragma once
// The platform's open-file dialog. Windows: GetOpenFileNameA. POSIX: zenity's
// file selection when it is installed, otherwise a dialog that is cancelled
// at once.
#include <cstddef>

namespace tollgram::platform {

struct OpenFileRequest {
    const char* filterList;        // pairs of description and patterns, ended by an empty text
    char* fileBuffer;              // receives the choice in the file-list layouts
    size_t fileBufferSize;
    const char* initialDirectory;  // passed also when empty
    const char* title;
    bool multipleSelection;
};

// True when the user chose and the choice fit fileBuffer; false when the
// dialog was cancelled or failed.
using OpenFileDialogFunction = bool (*)(const OpenFileRequest& request);

// The function the library calls; in-process tests point it elsewhere and
// put it back afterwards.
extern OpenFileDialogFunction openFileDialogImpl;

bool systemOpenFileDialog(const OpenFileRequest& request);

inline bool openFileDialog(const OpenFileRequest& request) { return openFileDialogImpl(request); }

}  // namespace tollgram::platform
