#include "substitute_host/low_memory.h"

#if defined(_WIN32)
#include <cstdlib>
#else
#include <sys/mman.h>
#endif

namespace tollgram::substitute {

#if defined(_WIN32)
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
    if (reinterpret_cast<uintptr_t>(block) + bytes > 0x100000000ull) {
        munmap(block, bytes);
        return nullptr;
    }
    return static_cast<uint8_t*>(block);
}
void releaseLowMemory(uint8_t* block, size_t bytes) { munmap(block, bytes); }
#endif

}  // namespace tollgram::substitute
