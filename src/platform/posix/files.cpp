// File removal, identity, writing in one go, reading regular files only
// and staged writes.
#include "platform/own_calls.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tollgram::platform::own {

// Any path the system takes in one call fits a staging path.
static_assert(kStagingPathCapacity >= PATH_MAX);
// Files past 2 GiB are read, copied and written in place by offset.
static_assert(sizeof(off_t) >= 8, "large-file offsets (_FILE_OFFSET_BITS=64) are needed");

// unlink: remove would also take an empty directory, which the Windows
// runtime refuses.
int removeFile(const char* path) { return unlink(path) == 0 ? 0 : -1; }

// The same device and inode.
bool sameFile(const char* first, const char* second) {
    struct stat a {}, b {};
    if (stat(first, &a) != 0 || stat(second, &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// open, write, ftruncate and close.
bool openWholeFile(const char* path, FileHandle* file) {
    int descriptor = open(path, O_RDWR | O_CLOEXEC);
    if (descriptor < 0) descriptor = open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    *file = descriptor;
    return true;
}

size_t writeFile(FileHandle file, const void* bytes, size_t count) {
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

void cutAndClose(FileHandle file) {
    const int descriptor = static_cast<int>(file);
    const off_t position = lseek(descriptor, 0, SEEK_CUR);
    if (position >= 0) (void)ftruncate(descriptor, position);
    close(descriptor);
}

// Only regular files: a pipe or a directory is no file to read, and a FIFO
// would wait for a writer. Opened without waiting, kept only when fstat says
// S_ISREG.
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

// fstat of the descriptor behind the stream.
uint64_t streamSize(std::FILE* stream) {
    const int descriptor = fileno(stream);
    struct stat info {};
    if (descriptor < 0 || fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) return 0;
    return static_cast<uint64_t>(info.st_size);
}

TargetKind targetKind(const char* path) {
    struct stat information {};
    if (stat(path, &information) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) return TargetKind::Other;
        // A symbolic link that names nothing is no missing file: the file
        // put there would take the link's place, or be made wherever the
        // link points.
        return lstat(path, &information) == 0 ? TargetKind::Other : TargetKind::Missing;
    }
    return S_ISREG(information.st_mode) ? TargetKind::RegularFile : TargetKind::Other;
}

bool finalPath(const char* target, StagingPath& path) {
    struct stat link {};
    const bool isLink = lstat(target, &link) == 0 && S_ISLNK(link.st_mode);
    if (!isLink) {
        // Kept as given: a relative target stays relative.
        const size_t length = std::strlen(target);
        if (length >= sizeof path) return false;
        std::memcpy(path, target, length + 1);
        return true;
    }
    char resolved[PATH_MAX];
    if (realpath(target, resolved) == nullptr || std::strlen(resolved) >= sizeof path) return false;
    std::memcpy(path, resolved, std::strlen(resolved) + 1);
    return true;
}

namespace {
// A new hidden file in the folder named by the prefix (up to and with its
// last slash), made with the mode given (less the umask), then given the
// permissions of the file it is to replace, if any.
bool createHiddenFile(const char* folder, int folderLength, mode_t mode, const struct stat* replaced, char* staging,
                      size_t capacity) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int length = std::snprintf(staging, capacity, "%.*s.tollgram-%ld-%u.tmp", folderLength, folder,
                                         static_cast<long>(getpid()), serial++);
        if (length < 0 || static_cast<size_t>(length) >= capacity) return false;
        const int descriptor = open(staging, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        if (replaced != nullptr) (void)fchmod(descriptor, replaced->st_mode & 07777);
        close(descriptor);
        return true;
    }
    return false;
}
}  // namespace

bool createStagingFile(const char* target, StagingPath& staging) {
    const char* slash = std::strrchr(target, '/');
    const int folderLength = slash == nullptr ? 0 : static_cast<int>(slash - target) + 1;
    struct stat replaced {};
    const bool replacing = stat(target, &replaced) == 0;
    // A replaced file keeps its permissions; a new one gets the umask's.
    return createHiddenFile(target, folderLength, 0666, replacing ? &replaced : nullptr, staging, sizeof staging);
}

bool createStagingFileElsewhere(StagingPath& staging) {
    const char* folder = std::getenv("TMPDIR");
    if (folder == nullptr || folder[0] != '/') folder = "/tmp";
    char prefix[kStagingPathCapacity];
    const int length = std::snprintf(prefix, sizeof prefix, "%s/", folder);
    if (length < 0 || static_cast<size_t>(length) >= sizeof prefix) return false;
    // Only this user reads the staged content.
    return createHiddenFile(prefix, length, 0600, nullptr, staging, sizeof staging);
}

bool replacingKeepsTarget(const char* target, const char* staging) {
    struct stat information {};
    if (lstat(target, &information) != 0) return errno == ENOENT;
    // The staged file is this process's own, with the permissions it could
    // give it: another user's file, or one of a group or mode the writer
    // can't give, would change hands if replaced (and a sticky folder
    // would not let it be).
    struct stat staged {};
    return S_ISREG(information.st_mode) && information.st_nlink == 1 && stat(staging, &staged) == 0 &&
           staged.st_uid == information.st_uid && staged.st_gid == information.st_gid &&
           (staged.st_mode & 07777) == (information.st_mode & 07777);
}

bool commitStagingFile(const char* staging, const char* target) {
    if (rename(staging, target) == 0) return true;
    unlink(staging);
    return false;
}

namespace {
// Copies count bytes from the source's position to the target's.
bool copyContent(int source, int target, off_t count) {
    char block[16384];
    while (count > 0) {
        const size_t wanted = count < static_cast<off_t>(sizeof block) ? static_cast<size_t>(count) : sizeof block;
        const ssize_t got = read(source, block, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        if (writeFile(target, block, static_cast<size_t>(got)) != static_cast<size_t>(got)) return false;
        count -= got;
    }
    return true;
}

bool copyFrom(int source, int target, off_t position, off_t count) {
    return lseek(source, position, SEEK_SET) == position && lseek(target, position, SEEK_SET) == position &&
           copyContent(source, target, count);
}
// Makes sure the file has room for size bytes before any of its bytes is
// overwritten: holes (a sparse file) and what goes beyond its end get their
// blocks now. False only when the disk or quota has no room; a file system
// that can't reserve is written as before, its growth first.
bool reserveRoom(int file, off_t size) {
    if (size == 0) return true;
    const int error = posix_fallocate(file, 0, size);
    return error != ENOSPC && error != EDQUOT && error != EFBIG;
}
}  // namespace

bool writeStagedInPlace(const char* staging, const char* target) {
    const int source = open(staging, O_RDONLY | O_CLOEXEC);
    if (source < 0) return false;
    // Without waiting: a FIFO put in the target's place meanwhile is refused.
    const int file = open(target, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat staged {}, existing {};
    bool written = file >= 0 && fstat(source, &staged) == 0 && fstat(file, &existing) == 0 &&
                   S_ISREG(existing.st_mode);
    const off_t size = staged.st_size;
    const off_t old = existing.st_size;
    if (written && !reserveRoom(file, size)) {
        struct stat now {};
        if (fstat(file, &now) == 0 && now.st_size != old) (void)ftruncate(file, old);
        written = false;
    }
    if (written && size > old) {
        // What goes beyond the old end is written first: where room can't
        // be reserved, a disk without it fails the write there, before an
        // old byte is overwritten.
        written = copyFrom(source, file, old, size - old);
        if (!written) (void)ftruncate(file, old);
    }
    if (written) written = copyFrom(source, file, 0, size < old ? size : old) && ftruncate(file, size) == 0;
    if (file >= 0 && close(file) != 0) written = false;
    close(source);
    return written;
}

void removeStagingFile(const char* staging) { unlink(staging); }

}  // namespace tollgram::platform::own
