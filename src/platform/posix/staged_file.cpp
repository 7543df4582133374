#include "platform/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tollgram::platform {

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
