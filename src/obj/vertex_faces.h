#pragma once
// The model's vertex-to-faces index, _vertexFaces: for each vertex a chain of
// FaceRefChunk links listing every face that uses it, once per corner at
// which it does, in ascending face order. Built on first demand and kept
// until the model is destroyed (OBJModel::releaseVertexFaces frees it);
// exchanging the vertex positions leaves it valid, since faces and vertex
// count stay the same.
#include <cstdint>

#include "obj/obj_model.h"

namespace tollgram::obj {

// True when the index exists afterwards. An index that could not be built
// completely is released, leaving none. Corners naming no vertex of the
// model are left out.
bool buildVertexFaces(OBJModel& model);

// The first link of the vertex's chain, for walking it; null without an
// index or for a vertex beyond it.
const FaceRefChunk* vertexFaceChain(const OBJModel& model, uint32_t vertex);

}  // namespace tollgram::obj
