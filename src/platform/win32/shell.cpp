// Starting other programs.
#include "platform/own_calls.h"
#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>


namespace tollgram::platform {

intptr_t own::launchProgram(const char* verb, const char* file, const char* parameters, const char* directory,
                           int show) {
    return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, show));
}

}  // namespace tollgram::platform
