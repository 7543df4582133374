// The message box.
#include "platform/message_box.h"

#include <cstdio>

namespace tollgram::platform {

namespace {

int showMessageBox(const char* caption, const char* text, unsigned /*style*/) {
    // Nothing better to do when standard error is gone.
    (void)std::fprintf(stderr, "[%s] %s\n", caption, text);
    return 1;  // IDOK: the box was closed with its only button
}

}  // namespace

constexpr MessageBoxCalls kPlatformMessageBoxCalls{.show = &showMessageBox};
constinit MessageBoxCalls liveMessageBoxCalls = kPlatformMessageBoxCalls;

}  // namespace tollgram::platform
