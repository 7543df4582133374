#pragma once
// The platform's file calls (FileCalls and StagingCalls of the system table,
// system.h), and how each platform makes them.
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
// A stream's size: Windows GetFileSizeEx of the handle behind it (the
// runtime's ftell is 32 bits); POSIX fstat.
#include "platform/system.h"
