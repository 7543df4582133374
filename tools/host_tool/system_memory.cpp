#include "host_tool/system_memory.h"

#include <algorithm>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tollgram::host_tool {

#if defined(_WIN32)
uint64_t memoryAvailable() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return std::min<uint64_t>(status.ullAvailVirtual, status.ullAvailPageFile);
}
#else
uint64_t memoryAvailable() {
    const long pages = sysconf(_SC_AVPHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    const uint64_t physical = pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
    // The address space, where it is the tighter bound.
    const uint64_t addressSpace = sizeof(void*) == 4 ? uint64_t{3} << 30 : UINT64_MAX;
    return std::min(physical, addressSpace);
}
#endif

}  // namespace tollgram::host_tool
