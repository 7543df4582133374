#include "platform/file_system.h"

#include <direct.h>

#include <cstdio>

namespace tollgram::platform {

PathOperation removeFileImpl = &systemRemoveFile;
PathOperation makeDirectoryImpl = &systemMakeDirectory;
PathOperation removeDirectoryImpl = &systemRemoveDirectory;

int systemRemoveFile(const char* path) { return std::remove(path) == 0 ? 0 : -1; }
int systemMakeDirectory(const char* path) { return _mkdir(path) == 0 ? 0 : -1; }
int systemRemoveDirectory(const char* path) { return _rmdir(path) == 0 ? 0 : -1; }

}  // namespace tollgram::platform
