#include "support/process_resources.h"

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#else
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace tollgram::test {

#if defined(_WIN32)
namespace {
// Handle values are multiples of 4 handed out from the lowest free slot, so
// every handle the process holds lies below this.
constexpr uintptr_t kHandleValueLimit = 0x10000;
}  // namespace

size_t openHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return count;
    // Wine answers 0: ask after each possible handle value instead.
    size_t found = 0;
    for (uintptr_t value = 4; value < kHandleValueLimit; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++found;
    }
    return found;
}

size_t residentBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}
#else
size_t openHandleCount() {
    size_t count = 0;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(fds)) {
            if (entry->d_name[0] != '.') ++count;
        }
        closedir(fds);
        if (count > 0) --count;  // the listing's own descriptor
    }
    return count;
}

size_t residentBytes() {
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}
#endif

}  // namespace tollgram::test
