#include "platform/regular_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdint>

namespace tollgram::platform {

std::FILE* openRegularFileForReading(const char* path) {
    // Opening a device does not wait; only reading from it would.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(descriptor, "rb");
    if (stream == nullptr) _close(descriptor);  // closes the handle with it
    return stream;
}

}  // namespace tollgram::platform
