// Directory creation, removal and search.
#include "platform/directories.h"
#include "platform/own_calls.h"

#include <windows.h>
#include <direct.h>

namespace tollgram::platform::own {

int makeDirectory(const char* path) { return _mkdir(path) == 0 ? 0 : -1; }
int removeDirectory(const char* path) { return _rmdir(path) == 0 ? 0 : -1; }

bool searchDirectory(const char* pattern, DirectoryVisitor visitor, void* context) {
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

}  // namespace tollgram::platform::own
