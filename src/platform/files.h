#pragma once
// The platform's file calls, as the library makes them (through the system
// table, system.h).
// Removal: Windows the runtime's remove; POSIX unlink (remove would also
// take an empty directory, which the Windows runtime refuses).
// Identity: Windows volume serial number and file index from
// GetFileInformationByHandle; POSIX device and inode from stat.
// Writing in one go: Windows _lopen (OF_READWRITE), else CreateFileA
// (CREATE_NEW), _lwrite, SetEndOfFile, _lclose; POSIX open, write,
// ftruncate, close.
// Reading only regular files: Windows maps NUL, CON, AUX, COM1 and the like
// to devices whatever the folder or extension ("models\com1.mtl" is the
// serial port), and a read from a serial port waits for ever; a pipe or a
// directory is no file to read either. Windows CreateFileA, shared with other
// readers and writers, kept only when GetFileType says FILE_TYPE_DISK; POSIX
// open without waiting (a FIFO would wait for a writer), kept only when fstat
// says S_ISREG.
#include <cstddef>
#include <cstdio>

#include "platform/system.h"

namespace tollgram::platform {

inline int removeFile(const char* path) { return systemCalls().files.remove(path); }

// Through another spelling, a link or a hard link; a path that names nothing
// is never the same as another.
inline bool sameFile(const char* first, const char* second) { return systemCalls().files.same(first, second); }

inline bool openWholeFile(const char* path, FileHandle* file) { return systemCalls().files.openWhole(path, file); }
inline size_t writeFile(FileHandle file, const void* bytes, size_t count) {
    return systemCalls().files.write(file, bytes, count);
}
inline void cutAndClose(FileHandle file) { systemCalls().files.cutAndClose(file); }

inline std::FILE* openStream(const char* path, const char* mode) { return systemCalls().files.openStream(path, mode); }
inline StreamRead readStream(void* buffer, size_t size, std::FILE* stream) {
    return systemCalls().files.readStream(buffer, size, stream);
}
inline size_t writeStream(const void* buffer, size_t size, std::FILE* stream) {
    return systemCalls().files.writeStream(buffer, size, stream);
}
inline int closeStream(std::FILE* stream) { return systemCalls().files.closeStream(stream); }

// A byte-mode stream of the file; null when it can't be opened or is not a
// regular file. Not a seam of its own: the readers' streams.
std::FILE* openRegularFileForReading(const char* path);

}  // namespace tollgram::platform
