#include "files/file_stream.h"

#include <cstring>

#include "platform/regular_file.h"

namespace tollgram::files {

OpenStreamFunction openStreamImpl = &runtimeOpenStream;
ReadStreamFunction readStreamImpl = &runtimeReadStream;
WriteStreamFunction writeStreamImpl = &runtimeWriteStream;
CloseStreamFunction closeStreamImpl = &runtimeCloseStream;

// A source is read only when it is a regular file: a device (COM1) would
// make the copy wait for ever.
std::FILE* runtimeOpenStream(const char* path, const char* mode) {
    if (std::strcmp(mode, "rb") == 0) return platform::openRegularFileForReading(path);
    return std::fopen(path, mode);
}

StreamRead runtimeReadStream(void* buffer, size_t size, std::FILE* stream) {
    const size_t count = std::fread(buffer, 1, size, stream);
    return {count, count < size && std::ferror(stream) != 0};
}

size_t runtimeWriteStream(const void* buffer, size_t size, std::FILE* stream) {
    return std::fwrite(buffer, 1, size, stream);
}

int runtimeCloseStream(std::FILE* stream) { return std::fclose(stream); }

}  // namespace tollgram::files
