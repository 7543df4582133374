// Starting other programs.
#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/system_calls.h"

namespace tollgram::platform {

intptr_t systemShellLaunch(const char* verb, const char* file, const char* parameters, const char* directory,
                           int show) {
    return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, show));
}

}  // namespace tollgram::platform
