// The message box, as the library shows it: MessageBoxA with no owner
// window.
#include "platform/own_calls.h"

#include <windows.h>

namespace tollgram::platform::own {

int showMessageBox(const char* caption, const char* text, unsigned style) {
    return MessageBoxA(nullptr, text, caption, style);
}

}  // namespace tollgram::platform::own
