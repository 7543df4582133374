#pragma once
// Whether two paths name the same file: through another spelling, a link or
// a hard link. Windows: volume serial number and file index from
// GetFileInformationByHandle. POSIX: device and inode from stat.
namespace tollgram::platform {

// True only when both files exist and are one; a path that names nothing
// is never the same as another.
using SameFileFunction = bool (*)(const char* first, const char* second);

// The function the library calls; in-process tests point it elsewhere and
// put it back afterwards.
extern SameFileFunction sameFileImpl;

bool systemSameFile(const char* first, const char* second);

inline bool sameFile(const char* first, const char* second) { return sameFileImpl(first, second); }

}  // namespace tollgram::platform
