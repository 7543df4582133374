#pragma once
// The process's own memory peaks so far. Under Wine the peak working set is
// the resident high-water mark of the process (VmHWM), Wine's own libraries
// included; the peak commit is no peak there, only the private memory
// resident when asked.
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
