#include "obj/index/vertex_faces.h"

#include <new>

#include "obj/model/block_memory.h"
#include "obj/index/counted_lists.h"

namespace tollgram::obj {

namespace {

// Each corner of face i that names a vertex of the index: visit(vertex).
template <typename Visit>
void forEachCorner(const OBJModel& model, uint32_t i, uint32_t vertexCount, Visit visit) {
    const FaceCorners corners = cornersOf(model, *model._faces.find(i));
    for (uint32_t c = 0; c < corners.count; ++c) {
        const auto v = static_cast<uint32_t>(corners.vertices[c]);
        if (v < vertexCount) visit(v);
    }
}

bool listAllCorners(const OBJModel& model, VertexFaces& index) {
    const uint32_t vertexCount = index.vertexCount;
    const uint32_t faceCount = model._faces._count;
    index.starts = zeroedArray(uint64_t(vertexCount) + 1);
    if (index.starts == nullptr) return false;
    uint32_t* starts = index.starts;
    for (uint32_t i = 0; i < faceCount; ++i) forEachCorner(model, i, vertexCount, [&](uint32_t v) { ++starts[v + 1]; });
    if (!runningTotals(starts, vertexCount)) return false;
    const uint32_t listed = starts[vertexCount];
    index.faces = zeroedArray(listed);
    if (index.faces == nullptr) return false;
    // Placed from the back, the last face first, so that each vertex's faces
    // come out ascending.
    for (uint32_t i = faceCount; i-- > 0;) {
        forEachCorner(model, i, vertexCount, [&](uint32_t v) { index.faces[--starts[v + 1]] = i; });
    }
    startsFromPlacedEnds(starts, vertexCount, listed);
    return true;
}

}  // namespace

bool buildVertexFaces(OBJModel& model) {
    if (model._vertexFaces != nullptr) return true;
    model._vertexFaces = new (std::nothrow) VertexFaces{};
    if (model._vertexFaces == nullptr) return false;
    model._vertexFaces->vertexCount = model._vertices._count;
    if (!listAllCorners(model, *model._vertexFaces)) {
        model.releaseVertexFaces();
        return false;
    }
    return true;
}

FaceSpan facesOfVertex(const OBJModel& model, uint32_t vertex) {
    const VertexFaces* index = model._vertexFaces;
    if (index == nullptr || vertex >= index->vertexCount) return {};
    return {index->faces + index->starts[vertex], index->faces + index->starts[vertex + 1]};
}

void OBJModel::releaseVertexFaces() {
    if (_vertexFaces == nullptr) return;
    if (_vertexFaces->starts != nullptr) releaseBlock(_vertexFaces->starts);
    if (_vertexFaces->faces != nullptr) releaseBlock(_vertexFaces->faces);
    delete _vertexFaces;
    _vertexFaces = nullptr;
}

}  // namespace tollgram::obj
