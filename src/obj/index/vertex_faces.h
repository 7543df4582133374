#pragma once
// The model's vertex-to-faces index, _vertexFaces: for each vertex every
// face that uses it, once per corner at which it does, in ascending face
// order. One list of face indices, the faces of vertex v from starts[v] up
// to starts[v + 1]: four bytes a vertex and four a corner. Built on first
// demand and kept until the model is destroyed
// (OBJModel::releaseVertexFaces frees it); exchanging the vertex positions
// leaves it valid, since faces and vertex count stay the same.
#include <cstdint>

#include "obj/index/face_span.h"
#include "obj/model/obj_model.h"

namespace tollgram::obj {

struct VertexFaces {
    uint32_t vertexCount = 0;
    uint32_t* starts = nullptr;  // vertexCount + 1 entries
    uint32_t* faces = nullptr;
};

// True when the index exists afterwards. An index that could not be built
// completely is released, leaving none. Corners naming no vertex of the
// model are left out.
bool buildVertexFaces(OBJModel& model);

// The faces of the vertex; none without an index or for a vertex beyond it.
FaceSpan facesOfVertex(const OBJModel& model, uint32_t vertex);

}  // namespace tollgram::obj
