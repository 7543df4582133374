#include "support/process_resources.h"

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstring>
#else
#include <dirent.h>
#include <sched.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
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
namespace {
template <typename Visit>
void walkAddressSpace(Visit visit) {
    MEMORY_BASIC_INFORMATION region{};
    const char* at = nullptr;
    while (VirtualQuery(at, &region, sizeof region) == sizeof region) {
        visit(region);
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;  // wrapped round the top of the address space
        at = next;
    }
}
}  // namespace

size_t committedBytes() {
    size_t total = 0;
    walkAddressSpace([&](const MEMORY_BASIC_INFORMATION& region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    });
    return total;
}

size_t heapBytesInUse() {
    HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(256, heaps);
    size_t busy = 0;
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return busy;
}

size_t largestFreeBlock() {
    size_t largest = 0;
    walkAddressSpace([&](const MEMORY_BASIC_INFORMATION& region) {
        if (region.State == MEM_FREE && region.RegionSize > largest) largest = region.RegionSize;
    });
    return largest;
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

size_t committedBytes() {
    size_t kib = 0;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "VmData: %zu kB", &kib) == 1) break;
        }
        std::fclose(status);
    }
    return kib * 1024;
}

size_t heapBytesInUse() { return mallinfo2().uordblks; }

size_t largestFreeBlock() { return 0; }
#endif

#if defined(_WIN32)
OneProcessor::OneProcessor() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || process == 0) return;
    static_assert(sizeof process <= sizeof saved_);
    std::memcpy(saved_, &process, sizeof process);
    held_ = SetProcessAffinityMask(GetCurrentProcess(), process & (~process + 1)) != 0;
}

OneProcessor::~OneProcessor() {
    if (!held_) return;
    DWORD_PTR process = 0;
    std::memcpy(&process, saved_, sizeof process);
    SetProcessAffinityMask(GetCurrentProcess(), process);
}
#else
OneProcessor::OneProcessor() {
    cpu_set_t set;
    static_assert(sizeof set <= sizeof saved_);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return;
    std::memcpy(saved_, &set, sizeof set);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &set)) continue;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        held_ = sched_setaffinity(0, sizeof one, &one) == 0;
        return;
    }
}

OneProcessor::~OneProcessor() {
    if (!held_) return;
    cpu_set_t set;
    std::memcpy(&set, saved_, sizeof set);
    (void)sched_setaffinity(0, sizeof set, &set);
}
#endif

}  // namespace tollgram::test
