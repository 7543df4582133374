#pragma once
// A file copy in two calls: the source is named once, then copied to any
// number of destinations.
#include "frame/outcome.h"

namespace tollgram::files {

// The source path kept for later copies; the bounded copy's number, or a
// failure for a null path.
Outcome setCopySource(const char* path);

// The kept source copied to path, replacing what is there only when the
// whole copy succeeded.
Outcome copyToDestination(const char* path);

}  // namespace tollgram::files
