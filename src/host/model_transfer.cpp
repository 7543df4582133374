#include "host/model_transfer.h"

#include <new>
#include <optional>
#include <unordered_map>

#include "host/mesh_arrays.h"
#include "host/records.h"
#include "obj/index/edge_faces.h"
#include "obj/index/smoothing_faces.h"
#include "obj/index/vertex_faces.h"
#include "obj/model_queries.h"

namespace tollgram::host {

namespace {

using obj::FaceCorners;
using obj::OBJFace;
using obj::OBJModel;

uint32_t cornersAt(const FaceCorners& face, uint32_t vertex) {
    uint32_t count = 0;
    for (uint32_t c = 0; c < face.count; ++c) count += static_cast<uint32_t>(face.vertices[c]) == vertex;
    return count;
}

// The faces a transfer works on: a group's face list, in list order, or the
// faces of one smoothing-group number, in index order: from the model's
// smoothing-group index when it was built, or else found among all faces.
struct ChosenFaces {
    const obj::FaceIndexList* groupFaces = nullptr;
    uint32_t smoothingGroup = 0;
    std::optional<obj::FaceSpan> smoothingFaces;

    template <typename Visit>
    void forEach(const OBJModel& model, uint32_t smoothingFaceCount, Visit visit) const {
        if (groupFaces != nullptr) {
            for (const int32_t f : *groupFaces) visit(static_cast<uint32_t>(f));
            return;
        }
        if (smoothingFaces) {
            for (const uint32_t f : *smoothingFaces) {
                if (f < smoothingFaceCount) visit(f);
            }
            return;
        }
        for (uint32_t f = 0; f < smoothingFaceCount; ++f) {
            const OBJFace* face = model._faces.find(f);
            if (face != nullptr && face->_smoothingGroup == smoothingGroup) visit(f);
        }
    }
};

// Null when the index is beyond the groups or smoothing groups, or when a
// group's name has no face list (which a read model never lacks).
std::optional<ChosenFaces> choose(const OBJModel& model, Choice choice, uint32_t index) {
    if (choice == Choice::SmoothingGroup) {
        const std::optional<uint32_t> number = obj::smoothingGroupAt(model, index);
        if (!number) return std::nullopt;
        return ChosenFaces{nullptr, *number, std::nullopt};
    }
    const obj::FaceIndexList* list = obj::groupFaceList(model, index);
    if (list == nullptr) return std::nullopt;
    return ChosenFaces{list, 0, std::nullopt};
}

// The faces across each edge of the chosen faces that lie outside the
// choice. The chosen faces are marked in the edge index first, so that a
// face across an edge costs one look; the faces across an edge come from
// the index, so that an edge costs what its own faces cost, however many
// faces its two vertices have besides. An edge that very many faces share
// (a fin of faces round it, stacked copies of one face) is counted once,
// before any write, and looked up at every later visit, so that N faces
// round one edge, or a face listed N times, cost N and not N squared.
class EdgeNeighbours {
public:
    EdgeNeighbours(const OBJModel& model, const obj::EdgeFaces& edges) : model_(model), faces_(model), edges_(edges) {}

    // Counts the crowded edges of face f; throws std::bad_alloc when memory
    // runs out.
    void prepare(uint32_t f) {
        const FaceCorners face = faces_.corners(f);
        const uint32_t corners = face.count;
        for (uint32_t j = 0; j < corners; ++j) {
            const Edge edge = edgeOf(face, j, corners);
            if (edge.faces.size() > kCrowdedEdgeFaces && crowded_.find(edge.key) == crowded_.end()) {
                crowded_.emplace(edge.key, outside(edge));
            }
        }
    }

    // The count of edge j of face f, which prepare has seen: each face
    // outside the choice that uses both of its vertices, once per corner at
    // which it uses the first.
    uint32_t of(const FaceCorners& face, uint32_t j, uint32_t corners) const {
        const Edge edge = edgeOf(face, j, corners);
        if (edge.a == edge.b) return outsideAtCorner(edge.a);
        if (edge.faces.size() > kCrowdedEdgeFaces) return crowded_.at(edge.key);
        return outside(edge);
    }

private:
    // Past this many faces an edge is a crowded one.
    static constexpr size_t kCrowdedEdgeFaces = 16;

    struct Edge {
        uint32_t a, b;
        obj::FaceSpan faces;
        uint64_t key;  // the edge, and which end is counted from where that matters
    };

    Edge edgeOf(const FaceCorners& face, uint32_t j, uint32_t corners) const {
        Edge edge{};
        edge.a = static_cast<uint32_t>(face.vertices[j]);
        edge.b = static_cast<uint32_t>(face.vertices[(j + 1) % corners]);
        const uint32_t found = obj::findEdge(edges_, edge.a, edge.b);
        if (found == obj::kNoEdge) return edge;
        edge.faces = obj::facesOfEdge(edges_, found);
        edge.key = (uint64_t{found} << 1) | (edges_.repeatedCorners && edge.a > edge.b ? 1u : 0u);
        return edge;
    }

    uint32_t outside(const Edge& edge) const {
        uint32_t count = 0;
        for (const uint32_t h : edge.faces) {
            if (obj::isMarked(edges_, h)) continue;
            count += edges_.repeatedCorners ? cornersAt(faces_.corners(h), edge.a) : 1;
        }
        return count;
    }

    // An edge from a vertex back to itself, which only a face naming a
    // vertex at two corners in a row has: every face outside the choice at
    // that vertex, once per corner there.
    uint32_t outsideAtCorner(uint32_t v) const {
        uint32_t count = 0;
        for (const uint32_t f : obj::facesOfVertex(model_, v)) count += obj::isMarked(edges_, f) ? 0 : 1;
        return count;
    }

    const OBJModel& model_;
    const obj::FaceTable faces_;
    const obj::EdgeFaces& edges_;
    std::unordered_map<uint64_t, uint32_t> crowded_;
};

constexpr uint32_t kEdgesWithBits = 4;

// A mesh is only taken for the model's when it has as many vertices.
bool sameVertexCount(const uint8_t* mesh, const OBJModel& model) {
    return static_cast<int64_t>(hostVertexCount(mesh)) == static_cast<int64_t>(model._vertices._count);
}

// The crease transfer's work; throws std::bad_alloc when memory runs out,
// before the first write.
Transferred creaseEdges(OBJModel& model, Choice choice, uint32_t index, uint8_t* mesh) {
    if (!sameVertexCount(mesh, model)) return {0, TransferFault::VertexCountsDiffer};
    std::optional<ChosenFaces> chosen = choose(model, choice, index);
    if (!chosen) return {0, TransferFault::NothingChosen};
    const std::optional<FlagEntries> polygons = polygonFlagsOf(mesh);
    if (!polygons || polygons->count != model._faces._count) return {0, TransferFault::MeshUnusable};
    // The indexes come and go together: a transfer that could not have the
    // ones it needs keeps none.
    if (!obj::buildVertexFaces(model) || !obj::buildEdgeFaces(model) ||
        (choice == Choice::SmoothingGroup && !obj::buildSmoothingFaces(model))) {
        model.releaseVertexFaces();
        model.releaseEdgeFaces();
        model.releaseSmoothingFaces();
        return {0, TransferFault::OutOfMemory};
    }
    if (choice == Choice::SmoothingGroup) {
        chosen->smoothingFaces = obj::facesOfSmoothingGroup(*model._smoothingFaces, chosen->smoothingGroup);
    }
    obj::EdgeFaces& edges = *model._edgeFaces;
    obj::unmarkAllFaces(edges);
    chosen->forEach(model, polygons->count, [&](uint32_t f) { obj::markFace(edges, f); });

    EdgeNeighbours neighbours(model, edges);
    chosen->forEach(model, polygons->count, [&](uint32_t f) { neighbours.prepare(f); });

    uint32_t count = 0;
    const obj::FaceTable faces(model);
    uint8_t* const entries = polygons->entries;
    chosen->forEach(model, polygons->count, [&](uint32_t f) {
        const FaceCorners face = faces.corners(f);
        const uint32_t corners = face.count;
        for (uint32_t j = 0; j < corners; ++j) {
            const uint32_t across = neighbours.of(face, j, corners);
            if (across == 0) continue;
            count += across;
            if (j < kEdgesWithBits) {
                entries[static_cast<size_t>(f) * mesh::kPolygonEntrySize + mesh::kPolygonCreaseByte] |=
                    static_cast<uint8_t>(3u << (2 * j));
            }
        }
    });
    return {count, TransferFault::None};
}

}  // namespace

Transferred maskTransfer(const OBJModel& model, Choice choice, uint32_t index, uint8_t* mesh, uint8_t maskValue) {
    if (!sameVertexCount(mesh, model)) return {0, TransferFault::VertexCountsDiffer};
    const std::optional<ChosenFaces> chosen = choose(model, choice, index);
    if (!chosen) return {0, TransferFault::NothingChosen};
    const std::optional<FlagEntries> vertices = vertexFlagsOf(mesh);
    if (!vertices) return {0, TransferFault::MeshUnusable};
    uint32_t count = 0;
    const obj::FaceTable faces(model);
    uint8_t* const entries = vertices->entries;
    const uint32_t vertexCount = vertices->count;
    chosen->forEach(model, model._faces._count, [&](uint32_t f) {
        const FaceCorners face = faces.corners(f);
        for (uint32_t c = 0; c < face.count; ++c) {
            const auto v = static_cast<uint32_t>(face.vertices[c]);
            if (v >= vertexCount) continue;
            entries[static_cast<size_t>(v) * mesh::kVertexEntrySize + mesh::kVertexMaskByte] = maskValue;
            ++count;
        }
    });
    return {count, TransferFault::None};
}

Transferred creaseTransfer(OBJModel& model, Choice choice, uint32_t index, uint8_t* mesh) {
    // The one place memory running out is caught: every allocation of the
    // transfer comes before its first write.
    try {
        return creaseEdges(model, choice, index, mesh);
    } catch (const std::bad_alloc&) {
        return {0, TransferFault::OutOfMemory};
    }
}

}  // namespace tollgram::host
