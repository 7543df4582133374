#pragma once
// The current model, or a part of it, written to an OBJ file.
#include "frame/outcome.h"

namespace tollgram::obj {

// Group value (from 1), or the whole model for a value that truncates to 0.
Outcome exportGroup(const char* path, double value);

// The smoothing group at position value (from 1).
Outcome exportSmoothingGroup(const char* path, double value);

}  // namespace tollgram::obj
