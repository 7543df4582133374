#pragma once
// The runtime's byte-mode file streams, as FileCopyTo uses them, each
// through a pointer that in-process tests point elsewhere (to watch the
// reads, or to fail a write) and put back afterwards.
#include <cstddef>
#include <cstdio>

namespace tollgram::files {

struct StreamRead {
    size_t count;  // bytes placed in the buffer
    bool failed;   // the stream reported an error, not its end
};

using OpenStreamFunction = std::FILE* (*)(const char* path, const char* mode);
using ReadStreamFunction = StreamRead (*)(void* buffer, size_t size, std::FILE* stream);
using WriteStreamFunction = size_t (*)(const void* buffer, size_t size, std::FILE* stream);
using CloseStreamFunction = int (*)(std::FILE* stream);

extern OpenStreamFunction openStreamImpl;
extern ReadStreamFunction readStreamImpl;
extern WriteStreamFunction writeStreamImpl;
extern CloseStreamFunction closeStreamImpl;

std::FILE* runtimeOpenStream(const char* path, const char* mode);
StreamRead runtimeReadStream(void* buffer, size_t size, std::FILE* stream);
size_t runtimeWriteStream(const void* buffer, size_t size, std::FILE* stream);
int runtimeCloseStream(std::FILE* stream);

}  // namespace tollgram::files
