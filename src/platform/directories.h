#pragma once
// The platform's directory calls, as the library makes them (through the
// system table, system.h).
// Creation and removal, each 0 on success and -1 on failure: Windows the
// runtime's _mkdir and _rmdir; POSIX mkdir with mode 0777 before the umask,
// rmdir.
// Search: Windows FindFirstFileA, FindNextFileA and FindClose with the
// pattern as given; POSIX opendir and readdir on the pattern's directory (the
// pattern without its final '*'), with stat for each entry's kind.
#include <cstdint>

#include "platform/system.h"

namespace tollgram::platform {

// Attribute bits of an entry, with their Windows values. POSIX marks names
// that start with a dot hidden, directories directory, and everything that
// is neither a regular file nor a directory (or cannot be examined) system.
inline constexpr uint32_t kHiddenAttribute = 0x2;
inline constexpr uint32_t kSystemAttribute = 0x4;
inline constexpr uint32_t kDirectoryAttribute = 0x10;

struct DirectoryEntry {
    const char* name;  // bare name, valid during the visit only
    uint32_t attributes;
};

}  // namespace tollgram::platform
