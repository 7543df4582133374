#include "platform/shell_launch.h"

#include <windows.h>
#include <shellapi.h>

namespace tollgram::platform {

ShellLaunchFunction shellLaunchImpl = &systemShellLaunch;

intptr_t systemShellLaunch(const char* verb, const char* file, const char* parameters, const char* directory,
                           int show) {
    return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, show));
}

}  // namespace tollgram::platform
