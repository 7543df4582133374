// The real system table, filled with the functions of the platform the
// library is built for (posix/ or win32/), and the C runtime's calls that are
// the same on both.
#include "platform/system.h"

#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "platform/system_calls.h"

namespace tollgram::platform {

namespace {

// A source is read only when it is a regular file: a device (COM1) would
// make a copy wait for ever.
std::FILE* runtimeOpenStream(const char* path, const char* mode) {
    if (std::strcmp(mode, "rb") == 0) return openRegularFileForReading(path);
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

void* runtimeAllocate(size_t bytes) { return std::malloc(bytes); }

constexpr System kPlatformTable{
    {&systemRemoveFile, &systemSameFile, &systemOpenWholeFile, &systemWriteFile, &systemCutAndClose,
     &runtimeOpenStream, &runtimeReadStream, &runtimeWriteStream, &runtimeCloseStream, &systemCreateStagingFile},
    {&systemMakeDirectory, &systemRemoveDirectory, &systemDirectorySearch},
    {&systemOpenFileDialog},
    {&systemShellLaunch},
    {&runtimeAllocate, &libraryResizeBlock},
    {&systemAllocatePageRun, &systemReleasePageRun},
    {&systemMessageBox},
};

// Constant-initialised, so that it is whole before any static object of the
// library or of a test runs. Tests change it only between calls, never while
// the parallel read's threads use it.
constinit System g_live = kPlatformTable;

}  // namespace

const System& platformSystem() { return kPlatformTable; }
const System& systemCalls() { return g_live; }
System& changeableSystemCalls() { return g_live; }

}  // namespace tollgram::platform
