// The process's processors and settings.
#include "platform/process.h"

#include <sched.h>
#include <unistd.h>

#include <cstdlib>

namespace tollgram::platform {

namespace {

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

}  // namespace

constexpr ProcessCalls kPlatformProcessCalls{
    .usableProcessors = &usableProcessors,
    .setting = &setting,
};
constinit ProcessCalls liveProcessCalls = kPlatformProcessCalls;

}  // namespace tollgram::platform
