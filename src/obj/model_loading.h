#pragma once
// Loading the current model and taking new vertex positions for it from a
// second file.
#include "frame/outcome.h"

namespace tollgram::obj {

// Destroys the current model, then reads path into a new one, which becomes
// current when the read succeeds: its group count. A failed read shows its
// diagnostics under "IMPORT ERROR" and fails.
Outcome loadCurrentModel(const char* path);

// The vertex positions of the OBJ file at path over the current model's:
// UnusableInput when that file can't be read, VertexCountsDiffer when its
// vertex count is another.
Outcome replaceCurrentVertices(const char* path);

}  // namespace tollgram::obj
