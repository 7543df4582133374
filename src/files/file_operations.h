#pragma once
// Deleting a file, creating and deleting one directory. A null path fails.
#include "frame/outcome.h"

namespace tollgram::files {

Outcome removeFile(const char* path);

// Missing parents are not created: the one directory or nothing.
Outcome makeDirectory(const char* path);

// Only an empty directory goes.
Outcome removeDirectory(const char* path);

}  // namespace tollgram::files
