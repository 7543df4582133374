// The message box, as the library shows it: the caption and text written to
// standard error.
#include "platform/own_calls.h"

#include <cstdio>

namespace tollgram::platform::own {

int showMessageBox(const char* caption, const char* text, unsigned /*style*/) {
    // Nothing better to do when standard error is gone.
    (void)std::fprintf(stderr, "[%s] %s\n", caption, text);
    return 1;  // IDOK: the box was closed with its only button
}

}  // namespace tollgram::platform::own
