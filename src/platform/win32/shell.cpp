// Starting other programs.
#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>


namespace tollgram::platform {

intptr_t launchProgram(const char* verb, const char* file, const char* parameters, const char* directory,
                           int show) {
    return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, show));
}

constexpr ShellCalls kPlatformShellCalls{.launch = &launchProgram};
constinit ShellCalls liveShellCalls = kPlatformShellCalls;

}  // namespace tollgram::platform
