#pragma once
// The model's edge-to-faces index, _edgeFaces: for every two vertices that
// some face joins by an edge, the faces that use both of them, at any of
// their corners (a quad across its diagonal too), each face once, in
// ascending order. A crease finds the faces across an edge here at the cost
// of a search among the edges of one vertex, however many faces the two
// vertices have: the faces round a vertex shared by thousands cost nothing
// to an edge that only two of them share.
//
// Built on first demand, like the vertex-to-faces index, from the faces'
// corners alone, and kept until the model is destroyed
// (OBJModel::releaseEdgeFaces frees it); exchanging the vertex positions
// leaves it valid. It also holds one mark per face, with which a transfer
// tells the faces it chose from the others at the cost of one look, whatever
// the model holds besides.
#include <cstddef>
#include <cstdint>

#include "obj/index/face_span.h"
#include "obj/model/obj_model.h"

namespace tollgram::obj {

inline constexpr uint32_t kNoEdge = UINT32_MAX;

struct EdgeFaces {
    uint32_t vertexCount = 0;
    uint32_t faceCount = 0;
    uint32_t edgeCount = 0;
    // Vertex v's edges (v, w) with w > v are edgeStart[v] up to
    // edgeStart[v + 1] (vertexCount + 1 entries); edgeEnd holds their w,
    // ascending for each v.
    uint32_t* edgeStart = nullptr;
    uint32_t* edgeEnd = nullptr;
    // Edge e's faces are faces[faceStart[e]] up to faces[faceStart[e + 1]]
    // (edgeCount + 1 entries).
    uint32_t* faceStart = nullptr;
    uint32_t* faces = nullptr;
    // Some face names one vertex at more than one corner: the faces then
    // count once per corner at the vertex an edge is counted from.
    bool repeatedCorners = false;
    // Face f is marked when marks[f] equals markRound (faceCount entries).
    uint32_t* marks = nullptr;
    uint32_t markRound = 0;
};

// True when the index exists afterwards; an index that could not be built
// completely is released, leaving none.
bool buildEdgeFaces(OBJModel& model);

// The edge joining a and b, in either order; kNoEdge when no face joins them
// by an edge, or a equals b, or either is no vertex of the index.
uint32_t findEdge(const EdgeFaces& index, uint32_t a, uint32_t b);

// The faces using both vertices of an edge that findEdge gave.
inline FaceSpan facesOfEdge(const EdgeFaces& index, uint32_t edge) {
    return {index.faces + index.faceStart[edge], index.faces + index.faceStart[edge + 1]};
}

// Unmarks every face, in constant time but once in 2^32 calls.
void unmarkAllFaces(EdgeFaces& index);

inline void markFace(EdgeFaces& index, uint32_t face) {
    if (face < index.faceCount) index.marks[face] = index.markRound;
}

inline bool isMarked(const EdgeFaces& index, uint32_t face) {
    return face < index.faceCount && index.marks[face] == index.markRound;
}

}  // namespace tollgram::obj
