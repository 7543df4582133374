// The message box.
#include "platform/message_box.h"

#include <windows.h>

namespace tollgram::platform {

namespace {

int showMessageBox(const char* caption, const char* text, unsigned style) {
    return MessageBoxA(nullptr, text, caption, style);
}

}  // namespace

constexpr MessageBoxCalls kPlatformMessageBoxCalls{.show = &showMessageBox};
constinit MessageBoxCalls liveMessageBoxCalls = kPlatformMessageBoxCalls;

}  // namespace tollgram::platform
