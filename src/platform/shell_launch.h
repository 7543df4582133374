#pragma once
// The platform's shell launch, with ShellExecuteA's arguments and result: a
// value above 32 means the program was started. Windows: ShellExecuteA with
// no owner window. POSIX: verb "open" hands file to xdg-open; no verb starts
// file itself as a program, with parameters split into arguments as a
// Windows program's runtime splits its command line; parameters and
// directory are otherwise unused. Never through a shell. POSIX answers 33
// once the program runs, 2 when it was not found, 5 when it may not run,
// and 0 for any other failure to start it.
#include <cstdint>

namespace tollgram::platform {

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

// verb and directory may be null.
using ShellLaunchFunction = intptr_t (*)(const char* verb, const char* file, const char* parameters,
                                         const char* directory, int show);

// The function the library calls; in-process tests point it elsewhere and
// put it back afterwards.
extern ShellLaunchFunction shellLaunchImpl;

intptr_t systemShellLaunch(const char* verb, const char* file, const char* parameters, const char* directory,
                           int show);

inline intptr_t shellLaunch(const char* verb, const char* file, const char* parameters, const char* directory,
                            int show) {
    return shellLaunchImpl(verb, file, parameters, directory, show);
}

}  // namespace tollgram::platform
