#include "obj/index/edge_faces.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "obj/model/block_memory.h"
#include "obj/index/counted_lists.h"

namespace tollgram::obj {

namespace {

// The one place the index reads the model's faces: face i's vertices in
// corner order, those of no vertex of the model left out; their count.
uint32_t cornersOfFace(const OBJModel& model, uint32_t i, uint32_t vertexCount, uint32_t (&vertices)[kMaxFaceCorners]) {
    const OBJFace* face = model._faces.find(i);
    if (face == nullptr) return 0;
    const FaceCorners corners = cornersOf(model, *face);
    uint32_t count = 0;
    for (uint32_t c = 0; c < corners.count; ++c) {
        const auto v = static_cast<uint32_t>(corners.vertices[c]);
        if (v < vertexCount) vertices[count++] = v;
    }
    return count;
}

// Face i's edges between two different vertices of the model: (lower,
// higher) for each, in corner order; their count. A corner of no vertex
// leaves both its edges out, as it leaves the corner out of the chains.
uint32_t edgesOfFace(const OBJModel& model, uint32_t i, uint32_t vertexCount, uint32_t (&lower)[kMaxFaceCorners],
                     uint32_t (&higher)[kMaxFaceCorners]) {
    const OBJFace* face = model._faces.find(i);
    if (face == nullptr) return 0;
    const FaceCorners faceCorners = cornersOf(model, *face);
    const uint32_t corners = faceCorners.count;
    uint32_t count = 0;
    for (uint32_t j = 0; j < corners; ++j) {
        const auto a = static_cast<uint32_t>(faceCorners.vertices[j]);
        const auto b = static_cast<uint32_t>(faceCorners.vertices[(j + 1) % corners]);
        if (a >= vertexCount || b >= vertexCount || a == b) continue;
        lower[count] = std::min(a, b);
        higher[count] = std::max(a, b);
        ++count;
    }
    return count;
}

// Face i's different vertices, in corner order; their count. repeated is
// set when a vertex is named at more than one corner.
uint32_t distinctVertices(const OBJModel& model, uint32_t i, uint32_t vertexCount,
                          uint32_t (&vertices)[kMaxFaceCorners], bool& repeated) {
    uint32_t corners[kMaxFaceCorners];
    const uint32_t count = cornersOfFace(model, i, vertexCount, corners);
    uint32_t distinct = 0;
    for (uint32_t c = 0; c < count; ++c) {
        if (std::find(vertices, vertices + distinct, corners[c]) != vertices + distinct) {
            repeated = true;
            continue;
        }
        vertices[distinct++] = corners[c];
    }
    return distinct;
}

// The edges of every face, by lower vertex; each vertex's higher ends
// sorted, each edge once.
bool listEdges(const OBJModel& model, EdgeFaces& index) {
    const uint32_t vertexCount = index.vertexCount;
    index.edgeStart = zeroedArray(uint64_t(vertexCount) + 1);
    if (index.edgeStart == nullptr) return false;
    uint32_t* starts = index.edgeStart;
    uint32_t lower[kMaxFaceCorners];
    uint32_t higher[kMaxFaceCorners];
    for (uint32_t i = 0; i < index.faceCount; ++i) {
        const uint32_t edges = edgesOfFace(model, i, vertexCount, lower, higher);
        for (uint32_t e = 0; e < edges; ++e) ++starts[lower[e] + 1];
    }
    if (!runningTotals(starts, vertexCount)) return false;
    const uint32_t listed = starts[vertexCount];
    index.edgeEnd = zeroedArray(listed);
    if (index.edgeEnd == nullptr) return false;
    for (uint32_t i = 0; i < index.faceCount; ++i) {
        const uint32_t edges = edgesOfFace(model, i, vertexCount, lower, higher);
        for (uint32_t e = 0; e < edges; ++e) index.edgeEnd[--starts[lower[e] + 1]] = higher[e];
    }
    startsFromPlacedEnds(starts, vertexCount, listed);
    // Each vertex's ends sorted and each kept once, moved down over the
    // copies dropped before them.
    uint32_t kept = 0;
    uint32_t from = 0;
    for (uint32_t v = 0; v < vertexCount; ++v) {
        const uint32_t to = starts[v + 1];
        std::sort(index.edgeEnd + from, index.edgeEnd + to);
        starts[v] = kept;
        for (uint32_t k = from; k < to; ++k) {
            const uint32_t w = index.edgeEnd[k];
            if (kept > starts[v] && index.edgeEnd[kept - 1] == w) continue;
            index.edgeEnd[kept++] = w;
        }
        from = to;
    }
    starts[vertexCount] = kept;
    index.edgeCount = kept;
    // Fewer edges than corners listed them: the rest goes back.
    if (void* smaller = resizeBlock(index.edgeEnd, kept == 0 ? 1 : size_t(kept) * sizeof(uint32_t))) {
        index.edgeEnd = static_cast<uint32_t*>(smaller);
    }
    return true;
}

// Every face under each edge whose two vertices it uses; faces in ascending
// order.
bool listFaces(const OBJModel& model, EdgeFaces& index) {
    index.faceStart = zeroedArray(uint64_t(index.edgeCount) + 1);
    if (index.faceStart == nullptr) return false;
    uint32_t* starts = index.faceStart;
    uint32_t vertices[kMaxFaceCorners];
    // Each pair of the face's vertices that is an edge of some face.
    auto forEachEdgeOf = [&](uint32_t i, auto visit) {
        const uint32_t count = distinctVertices(model, i, index.vertexCount, vertices, index.repeatedCorners);
        for (uint32_t x = 0; x < count; ++x) {
            for (uint32_t y = x + 1; y < count; ++y) {
                const uint32_t edge = findEdge(index, vertices[x], vertices[y]);
                if (edge != kNoEdge) visit(edge);
            }
        }
    };
    for (uint32_t i = 0; i < index.faceCount; ++i) forEachEdgeOf(i, [&](uint32_t edge) { ++starts[edge + 1]; });
    if (!runningTotals(starts, index.edgeCount)) return false;
    const uint32_t listed = starts[index.edgeCount];
    index.faces = zeroedArray(listed);
    if (index.faces == nullptr) return false;
    // Placed from the back, the last face first, so that each edge's faces
    // come out ascending.
    for (uint32_t i = index.faceCount; i-- > 0;) {
        forEachEdgeOf(i, [&](uint32_t edge) { index.faces[--starts[edge + 1]] = i; });
    }
    startsFromPlacedEnds(starts, index.edgeCount, listed);
    return true;
}

}  // namespace

bool buildEdgeFaces(OBJModel& model) {
    if (model._edgeFaces != nullptr) return true;
    model._edgeFaces = new (std::nothrow) EdgeFaces{};
    if (model._edgeFaces == nullptr) return false;
    EdgeFaces& index = *model._edgeFaces;
    index.vertexCount = model._vertices._count;
    index.faceCount = model._faces._count;
    index.marks = zeroedArray(index.faceCount);
    if (index.marks == nullptr || !listEdges(model, index) || !listFaces(model, index)) {
        model.releaseEdgeFaces();
        return false;
    }
    return true;
}

uint32_t findEdge(const EdgeFaces& index, uint32_t a, uint32_t b) {
    if (a == b || a >= index.vertexCount || b >= index.vertexCount) return kNoEdge;
    const uint32_t low = std::min(a, b);
    const uint32_t high = std::max(a, b);
    const uint32_t* first = index.edgeEnd + index.edgeStart[low];
    const uint32_t* last = index.edgeEnd + index.edgeStart[low + 1];
    const uint32_t* found = std::lower_bound(first, last, high);
    return found != last && *found == high ? uint32_t(found - index.edgeEnd) : kNoEdge;
}

void unmarkAllFaces(EdgeFaces& index) {
    if (++index.markRound != 0) return;
    // The round numbers came round: the marks of old rounds could match.
    if (index.faceCount > 0) std::memset(index.marks, 0, size_t(index.faceCount) * sizeof(uint32_t));
    index.markRound = 1;
}

void OBJModel::releaseEdgeFaces() {
    if (_edgeFaces == nullptr) return;
    for (uint32_t* array : {_edgeFaces->edgeStart, _edgeFaces->edgeEnd, _edgeFaces->faceStart, _edgeFaces->faces,
                            _edgeFaces->marks}) {
        if (array != nullptr) releaseBlock(array);
    }
    delete _edgeFaces;
    _edgeFaces = nullptr;
}

}  // namespace tollgram::obj
