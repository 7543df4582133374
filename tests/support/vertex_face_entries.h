#pragma once
// The vertex-to-faces index read entry by entry, for checking it.
#include <cstdint>

#include "obj/index/vertex_faces.h"

namespace tollgram::test {

// The number of entries of the vertex; -1 without an index or for a vertex
// beyond it.
inline int64_t vertexFaceCount(const obj::OBJModel& model, uint32_t vertex) {
    if (model._vertexFaces == nullptr || vertex >= model._vertexFaces->vertexCount) return -1;
    return int64_t(obj::facesOfVertex(model, vertex).size());
}

// Entry position of the vertex; 0 without an index, for a vertex beyond it
// or a position beyond its entries.
inline int32_t vertexFaceAt(const obj::OBJModel& model, uint32_t vertex, uint32_t position) {
    const obj::FaceSpan faces = obj::facesOfVertex(model, vertex);
    return position < faces.size() ? int32_t(faces.first[position]) : 0;
}

}  // namespace tollgram::test
