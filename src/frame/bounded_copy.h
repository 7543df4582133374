#pragma once
// Bounded copies into fixed-capacity buffers, with the results of the
// runtime's strcpy_s and strcat_s: 0 on success; ERANGE (34) when the text
// does not fit, the destination then left empty; EINVAL (22) for a null
// destination or source or a zero capacity. Written here rather than calling
// the runtime, whose invalid-parameter handler may end the process.
#include <cstddef>
#include <cstdint>

namespace tollgram {

inline constexpr int kCopyOk = 0;
inline constexpr int kCopyInvalid = 22;   // EINVAL
inline constexpr int kCopyTooLong = 34;   // ERANGE

int boundedCopy(char* destination, size_t capacity, const char* source);
int boundedAppend(char* destination, size_t capacity, const char* source);

// A caller's bufferSize as a capacity: a negative size is no room at all.
inline size_t capacityOf(int32_t bufferSize) {
    return bufferSize > 0 ? static_cast<size_t>(bufferSize) : 0;
}

}  // namespace tollgram
