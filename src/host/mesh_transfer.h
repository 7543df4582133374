#pragma once
// A group or smoothing group of the current model as mask values ("mask")
// or crease edges ("crease") on the host's current mesh.
#include "frame/outcome.h"
#include "host/model_transfer.h"

namespace tollgram::host {

// The group or smoothing group numbered value (from 1): the transfer's
// count, VertexCountsDiffer when the mesh has another number of vertices
// than the model, or a failure.
Outcome transferToMesh(void* hostContext, const char* key, double value, Choice choice);

}  // namespace tollgram::host
