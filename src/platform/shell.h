#pragma once
// The platform's shell launch, as the library calls it (through the system
// table, system.h), with ShellExecuteA's arguments and result: a value above
// 32 means the program was started. Windows: ShellExecuteA with no owner
// window. POSIX: verb "open" hands file to xdg-open; no verb starts file
// itself as a program, with parameters split into arguments as a Windows
// program's runtime splits its command line; parameters and directory are
// otherwise unused. Never through a shell. POSIX answers 33 once the program
// runs, 2 when it was not found, 5 when it may not run, and 0 for any other
// failure to start it.
#include <cstdint>

#include "platform/system.h"

namespace tollgram::platform {

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

}  // namespace tollgram::platform
