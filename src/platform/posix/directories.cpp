// Directory creation, removal and search.
#include "platform/directories.h"
#include "platform/own_calls.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace tollgram::platform::own {

int makeDirectory(const char* path) { return mkdir(path, 0777) == 0 ? 0 : -1; }
int removeDirectory(const char* path) { return rmdir(path) == 0 ? 0 : -1; }

namespace {
uint32_t attributesOf(const std::string& path, const char* name) {
    if (name[0] == '.') return kHiddenAttribute;  // also "." and "..", which are directories too
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return kSystemAttribute;  // a dangling link, a vanished file
    if (S_ISDIR(info.st_mode)) return kDirectoryAttribute;
    if (!S_ISREG(info.st_mode)) return kSystemAttribute;  // devices, pipes, sockets
    return 0;
}
}  // namespace

bool searchDirectory(const char* pattern, DirectoryVisitor visitor, void* context) {
    std::string_view directory(pattern);
    if (!directory.empty() && directory.back() == '*') directory.remove_suffix(1);
    std::string path(directory);
    DIR* search = opendir(path.empty() ? "." : path.c_str());
    if (search == nullptr) return false;
    const size_t directoryLength = path.size();
    while (const dirent* entry = readdir(search)) {
        path.resize(directoryLength);
        path += entry->d_name;
        if (!visitor(DirectoryEntry{entry->d_name, attributesOf(path, entry->d_name)}, context)) break;
    }
    closedir(search);
    return true;
}

}  // namespace tollgram::platform::own
