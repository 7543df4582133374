// File removal, identity, writing in one go, reading regular files only
// and staged writes.
#include "platform/own_calls.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tollgram::platform::own {

// The runtime's remove.
int removeFile(const char* path) { return std::remove(path) == 0 ? 0 : -1; }

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

// The same volume serial number and file index.
bool sameFile(const char* first, const char* second) {
    Identity a{}, b{};
    if (!identify(first, a) || !identify(second, b)) return false;
    return a.volume == b.volume && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

// _lopen (OF_READWRITE), else CreateFileA (CREATE_NEW); _lwrite, SetEndOfFile
// and _lclose.
bool openWholeFile(const char* path, FileHandle* file) {
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

size_t writeFile(FileHandle file, const void* bytes, size_t count) {
    // _lwrite takes a UINT, and a count of all ones is its error: an x64
    // block past 4 GiB goes in parts.
    constexpr size_t kLargestPart = size_t{1} << 30;
    const auto* next = static_cast<const char*>(bytes);
    size_t written = 0;
    while (written < count) {
        const size_t part = count - written < kLargestPart ? count - written : kLargestPart;
        const UINT done = _lwrite(static_cast<HFILE>(file), next + written, static_cast<UINT>(part));
        if (done == static_cast<UINT>(HFILE_ERROR) || done == 0) break;
        written += done;
        if (done < part) break;
    }
    return written;
}

void cutAndClose(FileHandle file) {
    SetEndOfFile(reinterpret_cast<HANDLE>(file));
    _lclose(static_cast<HFILE>(file));
}

// Only regular files: Windows maps NUL, CON, AUX, COM1 and the like to
// devices whatever the folder or extension ("models\com1.mtl" is the serial
// port), and a read from a serial port waits for ever; a pipe or a directory
// is no file to read either. Shared with other readers and writers, kept
// only when GetFileType says FILE_TYPE_DISK.
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

// GetFileSizeEx of the handle behind the stream, never sought: the runtime's ftell and
// _fstat give a long, 32 bits in both Windows builds.
uint64_t streamSize(std::FILE* stream) {
    const int descriptor = _fileno(stream);
    if (descriptor < 0) return 0;
    const intptr_t handle = _get_osfhandle(descriptor);
    LARGE_INTEGER size{};
    if (handle == -1 || !GetFileSizeEx(reinterpret_cast<HANDLE>(handle), &size) || size.QuadPart < 0) return 0;
    return static_cast<uint64_t>(size.QuadPart);
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

bool finalPath(const char* target, StagingPath& path) {
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) {
        // Missing (or not to be looked at): the target as given.
        const size_t length = std::strlen(target);
        if (length >= sizeof path) return false;
        std::memcpy(path, target, length + 1);
        return true;
    }
    // Every spelling, link and junction followed to the file itself (Wine
    // shows a Unix symbolic link as no reparse point, so asking is the only
    // way to tell).
    HANDLE file = CreateFileA(target, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char final[kStagingPathCapacity];
    const DWORD length = GetFinalPathNameByHandleA(file, final, sizeof final, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= sizeof final) return false;
    // "\\?\C:\folder\name" and "\\?\UNC\server\share\name": the prefix that
    // only long paths need goes, for the calls that take no such path.
    const char* plain = final;
    char unc[kStagingPathCapacity];
    if (std::strncmp(final, "\\\\?\\UNC\\", 8) == 0) {
        unc[0] = '\\';
        std::strcpy(unc + 1, final + 7);
        plain = unc;
    } else if (std::strncmp(final, "\\\\?\\", 4) == 0) {
        plain = final + 4;
    }
    std::memcpy(path, plain, std::strlen(plain) + 1);
    return true;
}

namespace {
bool createStagingFileIn(const char* folder, char* staging, size_t capacity) {
    // GetTempFileNameA writes up to MAX_PATH characters.
    if (capacity < MAX_PATH) return false;
    return GetTempFileNameA(folder, "tgm", 0, staging) != 0;
}
}  // namespace

bool createStagingFile(const char* target, StagingPath& staging) {
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
    return createStagingFileIn(folder, staging, sizeof staging);
}

bool createStagingFileElsewhere(StagingPath& staging) {
    char folder[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) return false;
    return createStagingFileIn(folder, staging, sizeof staging);
}

bool replacingKeepsTarget(const char* target, const char*) {
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    // Opened for deleting and shared with nobody: that fails while any other
    // program holds the file open. One that does not let it be deleted would
    // make ReplaceFileA fail half way; one that does would go on seeing the
    // old file, and under Wine its backup stays beside the target until the
    // holder lets go. Either way the file it holds is to be written.
    HANDLE file = CreateFileA(target, DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool single = GetFileInformationByHandle(file, &information) && information.nNumberOfLinks == 1 &&
                        GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return single;
}

namespace {
// Puts the staging file at a name where nothing was: the name is taken
// first, with a new empty file that is then replaced. A symbolic link that
// names nothing is no free name (Wine shows it as missing, and a move
// would put a file in its place), and neither is a name taken meanwhile.
bool moveToNewName(const char* staging, const char* target) {
    HANDLE taken = CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                               nullptr);
    if (taken == INVALID_HANDLE_VALUE) return false;
    CloseHandle(taken);
    if (MoveFileExA(staging, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(target);
    return false;
}
}  // namespace

bool commitStagingFile(const char* staging, const char* target) {
    if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) {
        if (moveToNewName(staging, target)) return true;
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

namespace {
// Copies count bytes from the source's position to the target's.
bool copyContent(HANDLE source, HANDLE target, LONGLONG count) {
    char block[16384];
    while (count > 0) {
        const DWORD wanted = count < static_cast<LONGLONG>(sizeof block) ? static_cast<DWORD>(count) : sizeof block;
        DWORD got = 0;
        if (!ReadFile(source, block, wanted, &got, nullptr) || got == 0) return false;
        DWORD written = 0;
        if (!WriteFile(target, block, got, &written, nullptr) || written != got) return false;
        count -= got;
    }
    return true;
}

bool copyFrom(HANDLE source, HANDLE target, LONGLONG position, LONGLONG count) {
    LARGE_INTEGER at{};
    at.QuadPart = position;
    return SetFilePointerEx(source, at, nullptr, FILE_BEGIN) && SetFilePointerEx(target, at, nullptr, FILE_BEGIN) &&
           copyContent(source, target, count);
}

bool cutAt(HANDLE file, LONGLONG size) {
    LARGE_INTEGER at{};
    at.QuadPart = size;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}
// Gives the holes of a sparse file their room before any of its bytes is
// overwritten: when the file holds less room than its size, its first
// count bytes are written again as they are, so that a disk without room
// fails here with the content unchanged. False only when that fell short.
bool fillHoles(HANDLE file, LONGLONG count) {
    FILE_STANDARD_INFO information{};
    if (!GetFileInformationByHandleEx(file, FileStandardInfo, &information, sizeof information) ||
        information.AllocationSize.QuadPart >= information.EndOfFile.QuadPart) {
        return true;
    }
    char block[16384];
    for (LONGLONG position = 0; position < count;) {
        const LONGLONG left = count - position;
        const DWORD wanted = left < static_cast<LONGLONG>(sizeof block) ? static_cast<DWORD>(left) : sizeof block;
        LARGE_INTEGER at{};
        at.QuadPart = position;
        DWORD got = 0;
        DWORD written = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, block, wanted, &got, nullptr) || got == 0 ||
            !SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !WriteFile(file, block, got, &written, nullptr) ||
            written != got) {
            return false;
        }
        position += got;
    }
    return true;
}
}  // namespace

bool writeStagedInPlace(const char* staging, const char* target) {
    HANDLE source = CreateFileA(staging, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (source == INVALID_HANDLE_VALUE) return false;
    // Shared as the program that holds the file open shares it.
    HANDLE file = CreateFileA(target, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER staged{}, existing{};
    bool written = file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_DISK &&
                   GetFileSizeEx(source, &staged) && GetFileSizeEx(file, &existing);
    const LONGLONG size = staged.QuadPart;
    const LONGLONG old = existing.QuadPart;
    if (written) written = fillHoles(file, size < old ? size : old);
    if (written && size > old) {
        // What goes beyond the old end is written first: a disk without room
        // for it fails the write before an old byte is overwritten.
        written = copyFrom(source, file, old, size - old);
        if (!written) cutAt(file, old);
    }
    if (written) written = copyFrom(source, file, 0, size < old ? size : old) && cutAt(file, size);
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file)) written = false;
    CloseHandle(source);
    return written;
}

void removeStagingFile(const char* staging) { DeleteFileA(staging); }

}  // namespace tollgram::platform::own
