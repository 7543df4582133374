#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

namespace tollgram::platform {

OpenWholeFileFunction openWholeFileImpl = &systemOpenWholeFile;
WriteFileFunction writeFileImpl = &systemWriteFile;
CutAndCloseFunction cutAndCloseImpl = &systemCutAndClose;

bool systemOpenWholeFile(const char* path, FileHandle* file) {
    int descriptor = open(path, O_RDWR | O_CLOEXEC);
    if (descriptor < 0) descriptor = open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    *file = descriptor;
    return true;
}

size_t systemWriteFile(FileHandle file, const void* bytes, size_t count) {
    // write may stop early without an error (a signal, a pipe); only a
    // failure or no progress ends the write short.
    const auto* next = static_cast<const char*>(bytes);
    size_t written = 0;
    while (written < count) {
        const ssize_t done = write(static_cast<int>(file), next + written, count - written);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) break;
        written += static_cast<size_t>(done);
    }
    return written;
}

void systemCutAndClose(FileHandle file) {
    const int descriptor = static_cast<int>(file);
    const off_t position = lseek(descriptor, 0, SEEK_CUR);
    if (position >= 0) (void)ftruncate(descriptor, position);
    close(descriptor);
}

}  // namespace tollgram::platform
