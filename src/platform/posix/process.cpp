// What the library asks of its process: the processors it may run on, for
// the parallel read's threads (sched_getaffinity where the system has it,
// else sysconf), and the settings of its environment.
#include "platform/own_calls.h"

#include <sched.h>
#include <unistd.h>

#include <cstdlib>

namespace tollgram::platform::own {

unsigned usableProcessors() {
#ifdef CPU_COUNT
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return unsigned(count);
    }
#endif
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? unsigned(online) : 1u;
}

const char* setting(const char* name) { return std::getenv(name); }

}  // namespace tollgram::platform::own
