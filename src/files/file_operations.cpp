// Deleting a file, creating and deleting one directory.
#include "frame/call_frame.h"
#include "frame/results.h"
#include "platform/directories.h"
#include "platform/system.h"

namespace tollgram::work {

namespace {
float resultOf(const char* path, int (*operation)(const char*)) {
    if (path == nullptr) return kFailure;
    return operation(path) == 0 ? kSuccess : kFailure;
}
}  // namespace

float FileDelete(const CallFrame& frame) { return resultOf(frame.text, platform::systemCalls().files.remove); }

// Missing parents are not created: the one directory or nothing.
float DirCreate(const CallFrame& frame) { return resultOf(frame.text, platform::systemCalls().directories.make); }

// Only an empty directory goes.
float DirDelete(const CallFrame& frame) { return resultOf(frame.text, platform::systemCalls().directories.remove); }

}  // namespace tollgram::work
