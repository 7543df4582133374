#include "platform/shell_launch.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/command_line.h"

namespace tollgram::platform {

ShellLaunchFunction shellLaunchImpl = &systemShellLaunch;

namespace {
constexpr intptr_t kStarted = 33;
constexpr intptr_t kNotFound = 2;       // SE_ERR_FNF
constexpr intptr_t kAccessDenied = 5;   // SE_ERR_ACCESSDENIED
constexpr intptr_t kOutOfResources = 0;

intptr_t start(const std::string& name, const std::vector<std::string>& arguments) {
    const std::string program = findProgram(name);
    if (program.empty()) return kNotFound;
    const int error = startDetached(program, arguments);
    if (error == 0) return kStarted;
    if (error == ENOENT || error == ENOTDIR) return kNotFound;
    if (error == EACCES || error == EPERM) return kAccessDenied;
    return kOutOfResources;
}
}  // namespace

intptr_t systemShellLaunch(const char* verb, const char* file, const char* parameters, const char* /*directory*/,
                           int /*show*/) {
    if (file == nullptr || file[0] == '\0') return kNotFound;
    if (verb != nullptr && std::strcmp(verb, "open") == 0) return start("xdg-open", {file});
    return start(file, splitCommandLine(parameters ? parameters : ""));
}

}  // namespace tollgram::platform
