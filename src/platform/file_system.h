#pragma once
// The platform's file and directory removal and creation, each 0 on success
// and -1 on failure. Windows: the runtime's remove, _mkdir and _rmdir.
// POSIX: unlink (remove would also take an empty directory, which the
// Windows runtime refuses), mkdir with mode 0777 before the umask, rmdir.
namespace tollgram::platform {

using PathOperation = int (*)(const char* path);

// The functions the library calls; in-process tests point them elsewhere
// and put them back afterwards.
extern PathOperation removeFileImpl;
extern PathOperation makeDirectoryImpl;
extern PathOperation removeDirectoryImpl;

int systemRemoveFile(const char* path);
int systemMakeDirectory(const char* path);
int systemRemoveDirectory(const char* path);

inline int removeFile(const char* path) { return removeFileImpl(path); }
inline int makeDirectory(const char* path) { return makeDirectoryImpl(path); }
inline int removeDirectory(const char* path) { return removeDirectoryImpl(path); }

}  // namespace tollgram::platform
