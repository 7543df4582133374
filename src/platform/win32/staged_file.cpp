#include "platform/staged_file.h"

#include <windows.h>

#include <cstring>

namespace tollgram::platform {

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
