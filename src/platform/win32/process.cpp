// What the library asks of its process: the processors it may run on, for
// the parallel read's threads (GetProcessAffinityMask), and the settings of
// its environment.
#include "platform/own_calls.h"

#include <windows.h>

#include <bitset>
#include <cstdlib>

namespace tollgram::platform::own {

unsigned usableProcessors() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
        return unsigned(std::bitset<sizeof(DWORD_PTR) * 8>(process).count());
    }
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? unsigned(info.dwNumberOfProcessors) : 1u;
}

// The C runtime's own copy of the environment, which _putenv changes too.
const char* setting(const char* name) { return std::getenv(name); }

}  // namespace tollgram::platform::own
