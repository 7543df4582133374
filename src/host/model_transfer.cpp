#include "host/model_transfer.h"

#include <new>
#include <optional>
#include <unordered_map>
#include <vector>

#include "host/mesh_arrays.h"
#include "host/records.h"
#include "obj/vertex_faces.h"

namespace tollgram::host {

namespace {

using obj::FaceRefChunk;
using obj::OBJFace;
using obj::OBJModel;

uint32_t cornersOf(const OBJFace* face) {
    if (face == nullptr) return 0;  // an index beyond the stored faces reads as an empty face
    return obj::cornerCountOf(*face);
}

uint32_t cornersAt(const OBJFace* face, uint32_t vertex) {
    uint32_t count = 0;
    for (uint32_t c = 0; c < cornersOf(face); ++c) count += static_cast<uint32_t>(face->_vertexIndices[c]) == vertex;
    return count;
}

// The faces a transfer works on: a group's face list, in list order, or the
// faces of one smoothing-group number, in index order.
struct ChosenFaces {
    const obj::FaceIndexList* groupFaces = nullptr;
    uint32_t smoothingGroup = 0;

    template <typename Visit>
    void forEach(const OBJModel& model, uint32_t smoothingFaceCount, Visit visit) const {
        if (groupFaces != nullptr) {
            for (const int32_t f : *groupFaces) visit(static_cast<uint32_t>(f));
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
        if (index >= model._smoothingGroupCount || index >= obj::kMaxSmoothingGroups) return std::nullopt;
        return ChosenFaces{nullptr, model._smoothingGroups[index]};
    }
    if (index >= model._groupNames.size()) return std::nullopt;
    const auto list = model._groupFaces.find(model._groupNames[index]);
    if (list == model._groupFaces.end()) return std::nullopt;
    return ChosenFaces{&list->second, 0};
}

// Which faces lie outside the choice: for a group a table of its members
// made once per call, so each neighbour costs one lookup; for a smoothing
// group the neighbour's own number.
class Outside {
public:
    // Throws std::bad_alloc when the table can't be had.
    void prepare(const OBJModel& model, const ChosenFaces& chosen) {
        model_ = &model;
        smoothingGroup_ = chosen.smoothingGroup;
        if (chosen.groupFaces == nullptr) return;
        byGroup_ = true;
        member_.assign(model._faces._count, 0);
        for (const int32_t f : *chosen.groupFaces) {
            if (static_cast<uint32_t>(f) < member_.size()) member_[static_cast<uint32_t>(f)] = 1;
        }
    }
    bool operator()(uint32_t face) const {
        if (byGroup_) return member_[face] == 0;
        return model_->_faces.find(face)->_smoothingGroup != smoothingGroup_;
    }

private:
    const OBJModel* model_ = nullptr;
    bool byGroup_ = false;
    uint32_t smoothingGroup_ = 0;
    std::vector<uint8_t> member_;
};

// True when chain a has fewer links than chain b, or as many but fewer
// entries in its last; found walking both together, so the cost is that of
// the shorter.
bool shorterChain(const FaceRefChunk* a, const FaceRefChunk* b) {
    while (a->_next != nullptr && b->_next != nullptr) {
        a = a->_next;
        b = b->_next;
    }
    if (a->_next == nullptr && b->_next == nullptr) return a->_count < b->_count;
    return a->_next == nullptr;
}

// The faces across edge (a, b) that lie outside the choice, each counted
// once per corner at which it uses a: the entries h of a's chain that b's
// chain also lists. A face is in b's chain exactly when one of its corners is
// b, so the shorter chain is walked and the other vertex looked for among the
// face's own corners; the count is the same either way. The chosen face
// itself is never outside, so the count is the edge's, whichever chosen
// face asks.
uint32_t outsideNeighbours(const OBJModel& model, const FaceRefChunk* chainA, const FaceRefChunk* chainB, uint32_t a,
                           uint32_t b, const Outside& outside) {
    const uint32_t faceCount = model._faces._count;
    auto counts = [&](uint32_t h) { return h < faceCount && outside(h); };
    uint32_t count = 0;
    if (shorterChain(chainB, chainA)) {
        // A face is listed once per corner it has at b; count it once.
        uint32_t previous = UINT32_MAX;
        for (const FaceRefChunk* chunk = chainB; chunk != nullptr; chunk = chunk->_next) {
            for (uint32_t s = 0; s < chunk->_count; ++s) {
                const auto h = static_cast<uint32_t>(chunk->_faceIndices[s]);
                if (h == previous) continue;
                previous = h;
                if (counts(h)) count += cornersAt(model._faces.find(h), a);
            }
        }
        return count;
    }
    for (const FaceRefChunk* chunk = chainA; chunk != nullptr; chunk = chunk->_next) {
        for (uint32_t s = 0; s < chunk->_count; ++s) {
            const auto h = static_cast<uint32_t>(chunk->_faceIndices[s]);
            if (counts(h) && cornersAt(model._faces.find(h), b) > 0) ++count;
        }
    }
    return count;
}

// Past this many links (48 faces) on both of its vertices an edge is a
// crowded one: a fin of many faces, or stacked copies of one face.
constexpr uint32_t kCrowdedChainLinks = 4;

bool bothChainsCrowded(const FaceRefChunk* a, const FaceRefChunk* b) {
    for (uint32_t link = 0; link < kCrowdedChainLinks; ++link) {
        if (a->_next == nullptr || b->_next == nullptr) return false;
        a = a->_next;
        b = b->_next;
    }
    return true;
}

// The outside neighbours of every edge of the chosen faces. An ordinary edge
// is counted where it is met, at the cost of its shorter chain, which is
// short; a crowded edge is counted once, before any write, and looked up at
// every later visit, so that N faces around one edge, or a face listed N
// times, cost N and not N squared. Most meshes have no crowded edge, and
// then nothing is stored.
class EdgeNeighbours {
public:
    EdgeNeighbours(const OBJModel& model, const Outside& outside) : model_(model), outside_(outside) {}

    // Counts the crowded edges of face f; throws std::bad_alloc when memory
    // runs out.
    void prepare(uint32_t f) {
        const OBJFace* face = model_._faces.find(f);
        const uint32_t corners = cornersOf(face);
        for (uint32_t j = 0; j < corners; ++j) {
            const Edge edge = edgeOf(face, j, corners);
            if (edge.crowded && crowded_.find(edge.key) == crowded_.end()) {
                crowded_.emplace(edge.key, outsideNeighbours(model_, edge.chainA, edge.chainB, edge.a, edge.b, outside_));
            }
        }
    }

    // The count of edge j of face f, which prepare has seen.
    uint32_t of(const OBJFace* face, uint32_t j, uint32_t corners) const {
        const Edge edge = edgeOf(face, j, corners);
        if (edge.chainA == nullptr || edge.chainB == nullptr) return 0;
        if (edge.crowded) return crowded_.at(edge.key);
        return outsideNeighbours(model_, edge.chainA, edge.chainB, edge.a, edge.b, outside_);
    }

private:
    struct Edge {
        uint32_t a, b;
        uint64_t key;
        const FaceRefChunk* chainA;
        const FaceRefChunk* chainB;
        bool crowded;
    };

    Edge edgeOf(const OBJFace* face, uint32_t j, uint32_t corners) const {
        Edge edge{};
        edge.a = static_cast<uint32_t>(face->_vertexIndices[j]);
        edge.b = static_cast<uint32_t>(face->_vertexIndices[(j + 1) % corners]);
        edge.key = (uint64_t{edge.a} << 32) | edge.b;  // ordered: a's corners are counted
        edge.chainA = obj::vertexFaceChain(model_, edge.a);
        edge.chainB = obj::vertexFaceChain(model_, edge.b);
        edge.crowded = edge.chainA != nullptr && edge.chainB != nullptr && bothChainsCrowded(edge.chainA, edge.chainB);
        return edge;
    }

    const OBJModel& model_;
    const Outside& outside_;
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
    const std::optional<ChosenFaces> chosen = choose(model, choice, index);
    if (!chosen) return {0, TransferFault::NothingChosen};
    const std::optional<FlagEntries> polygons = polygonFlagsOf(mesh);
    if (!polygons || polygons->count != model._faces._count) return {0, TransferFault::MeshUnusable};
    Outside outside;
    outside.prepare(model, *chosen);
    if (!obj::buildVertexFaces(model)) return {0, TransferFault::OutOfMemory};

    EdgeNeighbours neighbours(model, outside);
    chosen->forEach(model, polygons->count, [&](uint32_t f) { neighbours.prepare(f); });

    uint32_t count = 0;
    chosen->forEach(model, polygons->count, [&](uint32_t f) {
        const OBJFace* face = model._faces.find(f);
        const uint32_t corners = cornersOf(face);
        for (uint32_t j = 0; j < corners; ++j) {
            const uint32_t across = neighbours.of(face, j, corners);
            if (across == 0) continue;
            count += across;
            if (j < kEdgesWithBits) {
                polygons->entries[static_cast<size_t>(f) * mesh::kPolygonEntrySize + mesh::kPolygonCreaseByte] |=
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
    chosen->forEach(model, model._faces._count, [&](uint32_t f) {
        const OBJFace* face = model._faces.find(f);
        for (uint32_t c = 0; c < cornersOf(face); ++c) {
            const auto v = static_cast<uint32_t>(face->_vertexIndices[c]);
            if (v >= vertices->count) continue;
            vertices->entries[static_cast<size_t>(v) * mesh::kVertexEntrySize + mesh::kVertexMaskByte] = maskValue;
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
