#pragma once
// The platform's message box. Windows: MessageBoxA with no owner window.
// POSIX: the caption and text written to standard error.

namespace tollgram::platform {

using MessageBoxFunction = int (*)(const char* caption, const char* text, unsigned style);

// The function the library calls; in-process tests point it elsewhere to see
// what would be shown, and put it back afterwards.
extern MessageBoxFunction messageBoxImpl;

int systemMessageBox(const char* caption, const char* text, unsigned style);

inline int messageBox(const char* caption, const char* text, unsigned style) {
    return messageBoxImpl(caption, text, style);
}

}  // namespace tollgram::platform
