#pragma once
// The platform's message box, as the library shows it (through the system
// table, system.h). Windows: MessageBoxA with no owner window. POSIX: the
// caption and text written to standard error.
#include "platform/system.h"

namespace tollgram::platform {

inline int messageBox(const char* caption, const char* text, unsigned style) {
    return systemCalls().messageBoxes.show(caption, text, style);
}

}  // namespace tollgram::platform
