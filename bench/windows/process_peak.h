#pragma once
// The process's own memory peaks so far (Windows; under Wine the peak
// working set is the Linux process's resident high-water mark, VmHWM, and
// the "peak" commit is only the private memory resident at the moment).
#include <windows.h>
#include <psapi.h>

namespace tollgram::bench {

struct ProcessPeak {
    double workingSetMiB = -1;  // -1: the system did not answer
    double pagefileMiB = -1;
};

inline ProcessPeak processPeak() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ProcessPeak peak;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return peak;
    peak.workingSetMiB = double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    peak.pagefileMiB = double(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
    return peak;
}

}  // namespace tollgram::bench
