#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tollgram::platform {

std::FILE* openRegularFileForReading(const char* path) {
    const int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    // Reads of a regular file never wait anyway; the flag goes for clarity.
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0) (void)fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* stream = fdopen(descriptor, "rb");
    if (stream == nullptr) close(descriptor);
    return stream;
}

}  // namespace tollgram::platform
