#pragma once
// Opening a file for reading only when it is a regular file on disk. Windows
// maps NUL, CON, AUX, COM1 and the like to devices whatever the folder or
// extension ("models\com1.mtl" is the serial port), and a read from a serial
// port waits for ever; a pipe or a directory is no file to read either.
// Windows: CreateFileA, shared with other readers and writers, kept only when
// GetFileType says FILE_TYPE_DISK. POSIX: open without waiting (a FIFO would
// wait for a writer), kept only when fstat says S_ISREG.
#include <cstdio>

namespace tollgram::platform {

// A byte-mode stream of the file; null when it can't be opened or is not a
// regular file.
std::FILE* openRegularFileForReading(const char* path);

}  // namespace tollgram::platform
