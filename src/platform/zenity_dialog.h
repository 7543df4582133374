#pragma once
// The POSIX open-file dialog is zenity's file selection: these turn the
// dialog's request into zenity's arguments and zenity's answer into the
// file-list layouts the Windows dialog leaves.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace tollgram::platform {

// Arguments after the program name. Every chosen path goes on a line of its
// own, so names with blanks or '|' come back whole.
std::vector<std::string> zenityArguments(const OpenFileRequest& request);

// zenity's standard output (paths, one a line) into buffer: one path gives
// the path and two NULs; several give their common directory and then the
// bare names, each ended by a NUL, then one more NUL. False, with buffer
// unchanged, for no path, for paths from different directories, or when the
// layout does not fit capacity.
bool layoutSelection(std::string_view answer, char* buffer, size_t capacity);

}  // namespace tollgram::platform
