#pragma once
// The platform's directory search. Windows: FindFirstFileA, FindNextFileA
// and FindClose with the pattern as given. POSIX: opendir and readdir on the
// pattern's directory (the pattern without its final '*'), with stat for
// each entry's kind.
#include <cstdint>

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

// Called for every entry in the order the search delivers them; false ends
// the search.
using DirectoryVisitor = bool (*)(const DirectoryEntry& entry, void* context);

// False when the search cannot start; otherwise true after the last entry
// or after the visitor ended it, the search closed in both cases.
using DirectorySearchFunction = bool (*)(const char* pattern, DirectoryVisitor visitor, void* context);

// The function the library calls; in-process tests point it elsewhere and
// put it back afterwards.
extern DirectorySearchFunction directorySearchImpl;

bool systemDirectorySearch(const char* pattern, DirectoryVisitor visitor, void* context);

inline bool searchDirectory(const char* pattern, DirectoryVisitor visitor, void* context) {
    return directorySearchImpl(pattern, visitor, context);
}

}  // namespace tollgram::platform
