#pragma once
// The calls of each platform's table that only the C runtime makes, the same
// on every platform: byte-mode streams and the heap.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/system.h"

namespace tollgram::platform::runtime {

// Mode "rb" opens regular files only, the platform's way.
template <std::FILE* (*openRegularFile)(const char* path)>
std::FILE* openStream(const char* path, const char* mode) {
    if (std::strcmp(mode, "rb") == 0) return openRegularFile(path);
    return std::fopen(path, mode);
}

inline StreamRead readStream(void* buffer, size_t size, std::FILE* stream) {
    const size_t count = std::fread(buffer, 1, size, stream);
    return {count, count < size && std::ferror(stream) != 0};
}

inline size_t writeStream(const void* buffer, size_t size, std::FILE* stream) {
    return std::fwrite(buffer, 1, size, stream);
}

inline int closeStream(std::FILE* stream) { return std::fclose(stream); }

inline void* allocate(size_t bytes) { return std::malloc(bytes); }
inline void* resize(void* block, size_t bytes) { return std::realloc(block, bytes); }
inline void release(void* block) { std::free(block); }

}  // namespace tollgram::platform::runtime
