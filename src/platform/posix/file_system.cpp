#include "platform/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tollgram::platform {

PathOperation removeFileImpl = &systemRemoveFile;
PathOperation makeDirectoryImpl = &systemMakeDirectory;
PathOperation removeDirectoryImpl = &systemRemoveDirectory;

int systemRemoveFile(const char* path) { return unlink(path) == 0 ? 0 : -1; }
int systemMakeDirectory(const char* path) { return mkdir(path, 0777) == 0 ? 0 : -1; }
int systemRemoveDirectory(const char* path) { return rmdir(path) == 0 ? 0 : -1; }

}  // namespace tollgram::platform
