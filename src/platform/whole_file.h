#pragma once
// The file calls behind writing a file in one go: open an existing file for
// reading and writing or create a new one, write from its start, cut it at
// the position reached and close it.
// Windows: _lopen (OF_READWRITE), else CreateFileA (CREATE_NEW), _lwrite,
// SetEndOfFile, _lclose. POSIX: open, write, ftruncate, close.
#include <cstddef>
#include <cstdint>

namespace tollgram::platform {

// A file handle of either platform (a Windows HFILE, a POSIX descriptor).
using FileHandle = intptr_t;

using OpenWholeFileFunction = bool (*)(const char* path, FileHandle* file);
using WriteFileFunction = size_t (*)(FileHandle file, const void* bytes, size_t count);
using CutAndCloseFunction = void (*)(FileHandle file);

// The functions the library calls; in-process tests point them elsewhere
// (a short write, a refused open) and put them back afterwards.
extern OpenWholeFileFunction openWholeFileImpl;
extern WriteFileFunction writeFileImpl;
extern CutAndCloseFunction cutAndCloseImpl;

// False when the file neither opens nor can be created; no message.
bool systemOpenWholeFile(const char* path, FileHandle* file);
// The number of bytes written; fewer than count when the write fell short.
size_t systemWriteFile(FileHandle file, const void* bytes, size_t count);
// Drops whatever follows the current position, then closes.
void systemCutAndClose(FileHandle file);

inline bool openWholeFile(const char* path, FileHandle* file) { return openWholeFileImpl(path, file); }
inline size_t writeFile(FileHandle file, const void* bytes, size_t count) {
    return writeFileImpl(file, bytes, count);
}
inline void cutAndClose(FileHandle file) { cutAndCloseImpl(file); }

}  // namespace tollgram::platform
