#include "platform/message_box.h"

#include <windows.h>

namespace tollgram::platform {

MessageBoxFunction messageBoxImpl = &systemMessageBox;

int systemMessageBox(const char* caption, const char* text, unsigned style) {
    return MessageBoxA(nullptr, text, caption, style);
}

}  // namespace tollgram::platform
