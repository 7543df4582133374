// The message box.
#include "platform/message_box.h"

#include <windows.h>

#include "platform/system_calls.h"

namespace tollgram::platform {

int systemMessageBox(const char* caption, const char* text, unsigned style) {
    return MessageBoxA(nullptr, text, caption, style);
}

}  // namespace tollgram::platform
