#pragma once
// Opening a file with the program the system associates with it, or with
// the program a script linked beforehand.
#include "frame/outcome.h"

namespace tollgram::files {

// The program later files open with; a null or empty text fails, otherwise
// the bounded copy's number.
Outcome setAppLink(const char* program);

// Back to the system's association.
Outcome resetAppLink();

Outcome openWithAppLink(const char* path);

}  // namespace tollgram::files
