#pragma once
// The open-file dialog and its two settings, the default directory and the
// title.
#include "frame/outcome.h"

namespace tollgram::files {

// A null text empties the directory; otherwise the bounded copy's number.
Outcome setDefaultDirectory(const char* text);

// A null text restores "Select Files"; the bounded copy's number.
Outcome setDialogTitle(const char* text);

// The dialog with the filter text (null for "*.*"), several files unless
// value is 1. The FileListBuffer receives the choice, and the outcome is the
// number of files chosen.
Outcome chooseFiles(const char* filter, double value);

}  // namespace tollgram::files
