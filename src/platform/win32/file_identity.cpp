#include "platform/file_identity.h"

#include <windows.h>

namespace tollgram::platform {

SameFileFunction sameFileImpl = &systemSameFile;

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

}  // namespace tollgram::platform
