#include "platform/directory_search.h"

#include <windows.h>

namespace tollgram::platform {

DirectorySearchFunction directorySearchImpl = &systemDirectorySearch;

bool systemDirectorySearch(const char* pattern, DirectoryVisitor visitor, void* context) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        found.cFileName[MAX_PATH - 1] = '\0';
        if (!visitor(DirectoryEntry{found.cFileName, found.dwFileAttributes}, context)) break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

}  // namespace tollgram::platform
