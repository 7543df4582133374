#include "platform/whole_file.h"

#include <windows.h>

namespace tollgram::platform {

OpenWholeFileFunction openWholeFileImpl = &systemOpenWholeFile;
WriteFileFunction writeFileImpl = &systemWriteFile;
CutAndCloseFunction cutAndCloseImpl = &systemCutAndClose;

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

}  // namespace tollgram::platform
