#include "files/file_operations.h"

#include "platform/directories.h"
#include "platform/system.h"

namespace tollgram::files {

namespace {
Outcome performed(const char* path, int (*operation)(const char*)) {
    if (path == nullptr) return failed();
    return operation(path) == 0 ? succeeded() : failed();
}
}  // namespace

Outcome removeFile(const char* path) { return performed(path, platform::systemCalls().files.remove); }

Outcome makeDirectory(const char* path) { return performed(path, platform::systemCalls().directories.make); }

Outcome removeDirectory(const char* path) { return performed(path, platform::systemCalls().directories.remove); }

}  // namespace tollgram::files
