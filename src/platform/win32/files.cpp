// File removal, identity, writing in one go, reading regular files only
// and staged writes.
#include "platform/files.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/staged_file.h"
#include "platform/system_calls.h"

namespace tollgram::platform {

int systemRemoveFile(const char* path) { return std::remove(path) == 0 ? 0 : -1; }

namespace {
struct Identity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

// Opened for no access at all, so that a file another program holds open,
// or a directory, can still be identified.
bool identify(const char* path, Identity& identity) {
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(file, &information) != FALSE;
    CloseHandle(file);
    if (!known) return false;
    identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return true;
}
}  // namespace

bool systemSameFile(const char* first, const char* second) {
    Identity a{}, b{};
    if (!identify(first, a) || !identify(second, b)) return false;
    return a.volume == b.volume && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

bool systemOpenWholeFile(const char* path, FileHandle* file) {
    const HFILE existing = _lopen(path, OF_READWRITE);
    if (existing != HFILE_ERROR && existing != 0) {
        *file = static_cast<FileHandle>(existing);
        return true;
    }
    HANDLE created = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (created == INVALID_HANDLE_VALUE || created == nullptr) return false;
    // An HFILE is the file's handle as a number: _lwrite and _lclose take
    // the created file as well as the opened one.
    *file = reinterpret_cast<FileHandle>(created);
    return true;
}

size_t systemWriteFile(FileHandle file, const void* bytes, size_t count) {
    const UINT written = _lwrite(static_cast<HFILE>(file), static_cast<LPCCH>(bytes), static_cast<UINT>(count));
    return written == static_cast<UINT>(HFILE_ERROR) ? 0 : static_cast<size_t>(written);
}

void systemCutAndClose(FileHandle file) {
    SetEndOfFile(reinterpret_cast<HANDLE>(file));
    _lclose(static_cast<HFILE>(file));
}

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

TargetKind targetKind(const char* path) {
    // No access rights asked: a device is only looked at, never opened for
    // reading or writing, and a file another program holds is seen too.
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? TargetKind::Missing : TargetKind::Other;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) &&
                         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(file);
    return regular ? TargetKind::RegularFile : TargetKind::Other;
}

bool createStagingFile(const char* target, char (&staging)[kStagingPathCapacity]) {
    // The target's folder: everything up to its last separator, or the
    // current folder.
    const char* slash = std::strrchr(target, '/');
    const char* backslash = std::strrchr(target, '\\');
    const char* last = slash > backslash ? slash : backslash;
    char folder[MAX_PATH];
    if (last == nullptr) {
        std::strcpy(folder, ".");
    } else {
        const size_t length = static_cast<size_t>(last - target) + 1;
        if (length >= sizeof folder) return false;
        std::memcpy(folder, target, length);
        folder[length] = '\0';
    }
    static_assert(kStagingPathCapacity >= MAX_PATH, "GetTempFileNameA writes up to MAX_PATH characters");
    return GetTempFileNameA(folder, "tgm", 0, staging) != 0;
}

bool commitStagingFile(const char* staging, const char* target) {
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) {
        if (MoveFileExA(staging, target, MOVEFILE_WRITE_THROUGH)) return true;
    } else {
        // Full paths: Wine's ReplaceFileA refuses relative ones.
        char fullTarget[kStagingPathCapacity];
        char fullStaging[kStagingPathCapacity];
        const DWORD targetLength = GetFullPathNameA(target, sizeof fullTarget, fullTarget, nullptr);
        const DWORD stagingLength = GetFullPathNameA(staging, sizeof fullStaging, fullStaging, nullptr);
        if (targetLength == 0 || targetLength >= sizeof fullTarget || stagingLength == 0 ||
            stagingLength >= sizeof fullStaging) {
            DeleteFileA(staging);
            return false;
        }
        if (ReplaceFileA(fullTarget, fullStaging, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) return true;
        // Replaced, but the new file could not take the name: the target is
        // gone, so the new file must take its place after all.
        if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT && GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES &&
            MoveFileExA(staging, target, MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
    }
    DeleteFileA(staging);
    return false;
}

void removeStagingFile(const char* staging) { DeleteFileA(staging); }

}  // namespace tollgram::platform
