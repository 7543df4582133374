#include "substitute_host/low_memory.h"

#if defined(_WIN64)
#include <windows.h>
#elif defined(_WIN32)
#include <cstdlib>
#else
#include <sys/mman.h>
#endif

namespace tollgram::substitute {

namespace {
constexpr uint64_t kFourGiB = 0x100000000ull;
}  // namespace

#if defined(_WIN64)
// The x64 test build: the first free stretch of address space below 4 GiB
// that holds the block, at the system's allocation granularity.
uint8_t* allocateLowMemory(size_t bytes) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const uint64_t granularity = system.dwAllocationGranularity;
    uint64_t address = granularity;
    MEMORY_BASIC_INFORMATION region;
    while (address < kFourGiB && VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof region) != 0) {
        const uint64_t base = reinterpret_cast<uintptr_t>(region.BaseAddress);
        const uint64_t end = base + region.RegionSize;
        const uint64_t start = (base + granularity - 1) / granularity * granularity;
        if (region.State == MEM_FREE && start + bytes <= end && start + bytes <= kFourGiB) {
            void* block = VirtualAlloc(reinterpret_cast<void*>(start), bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
            if (block != nullptr) return static_cast<uint8_t*>(block);
        }
        address = end;
    }
    return nullptr;
}
void releaseLowMemory(uint8_t* block, size_t) { VirtualFree(block, 0, MEM_RELEASE); }
#elif defined(_WIN32)
// A 32-bit process: every address fits.
uint8_t* allocateLowMemory(size_t bytes) { return static_cast<uint8_t*>(std::calloc(1, bytes)); }
void releaseLowMemory(uint8_t* block, size_t) { std::free(block); }
#else
uint8_t* allocateLowMemory(size_t bytes) {
    int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#if defined(MAP_32BIT)
    flags |= MAP_32BIT;  // the first 2 GiB of the address space
#endif
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, flags, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    if (reinterpret_cast<uintptr_t>(block) + bytes > kFourGiB) {
        munmap(block, bytes);
        return nullptr;
    }
    return static_cast<uint8_t*>(block);
}
void releaseLowMemory(uint8_t* block, size_t bytes) { munmap(block, bytes); }
#endif

}  // namespace tollgram::substitute
