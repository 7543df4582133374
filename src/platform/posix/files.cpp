// File removal, identity, writing in one go, reading regular files only
// and staged writes.
#include "platform/files.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/staged_file.h"
#include "platform/system_calls.h"

namespace tollgram::platform {

int systemRemoveFile(const char* path) { return unlink(path) == 0 ? 0 : -1; }

bool systemSameFile(const char* first, const char* second) {
    struct stat a {}, b {};
    if (stat(first, &a) != 0 || stat(second, &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

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

TargetKind targetKind(const char* path) {
    struct stat information {};
    if (stat(path, &information) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? TargetKind::Missing : TargetKind::Other;
    }
    return S_ISREG(information.st_mode) ? TargetKind::RegularFile : TargetKind::Other;
}

bool createStagingFile(const char* target, char (&staging)[kStagingPathCapacity]) {
    static std::atomic<unsigned> serial{0};
    const char* slash = std::strrchr(target, '/');
    const int folderLength = slash == nullptr ? 0 : static_cast<int>(slash - target) + 1;
    // A replaced file keeps its permissions; a new one gets the umask's.
    struct stat replaced {};
    const bool replacing = stat(target, &replaced) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int length = std::snprintf(staging, sizeof staging, "%.*s.tollgram-%ld-%u.tmp", folderLength, target,
                                         static_cast<long>(getpid()), serial++);
        if (length < 0 || static_cast<size_t>(length) >= sizeof staging) return false;
        const int descriptor = open(staging, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        if (replacing) (void)fchmod(descriptor, replaced.st_mode & 07777);
        close(descriptor);
        return true;
    }
    return false;
}

bool commitStagingFile(const char* staging, const char* target) {
    if (rename(staging, target) == 0) return true;
    unlink(staging);
    return false;
}

void removeStagingFile(const char* staging) { unlink(staging); }

}  // namespace tollgram::platform
