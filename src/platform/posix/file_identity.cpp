#include "platform/file_identity.h"

#include <sys/stat.h>

namespace tollgram::platform {

SameFileFunction sameFileImpl = &systemSameFile;

bool systemSameFile(const char* first, const char* second) {
    struct stat a {}, b {};
    if (stat(first, &a) != 0 || stat(second, &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace tollgram::platform
