#pragma once
// One Wavefront OBJ file in memory: positions, texture coordinates, normals,
// faces, groups, materials and smoothing-group numbers. A model is filled
// once, by readOBJ, right after it is created; after that only its _vertices
// (overwritten by ReplaceOBJVertices) and its indexes _vertexFaces,
// _edgeFaces and _smoothingFaces (built on first demand) change.
//
// Invariants of a read model:
// - _materialFaces[i] lists, ascending, every face whose _materialIndex is i;
//   it has as many entries as _materials.
// - _firstMaterialNamed maps every name of _materials to its first index.
// - _groupNames and the keys of _groupFaces are the same names; every group
//   has at least one face; a group's list is non-decreasing (a face appears
//   once per time its group was named on the group line in force).
// - The first _smoothingGroupCount entries of _smoothingGroups are distinct.
// - Every corner index of a face is below its array's _count.
// - A face's corner run lies within one block of _corners.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/always_inline.h"
#include "obj/model/diagnostics.h"
#include "obj/model/face_index_list.h"
#include "obj/model/obj_records.h"
#include "obj/model/paged_array.h"
#include "obj/read/read_status.h"

namespace tollgram::obj {

inline constexpr uint32_t kVertexBlockSize = 4000;
inline constexpr uint32_t kNormalBlockSize = 4000;
inline constexpr uint32_t kTextureCoordBlockSize = 8000;
inline constexpr uint32_t kFaceBlockSize = 4000;
// Corner indices go in blocks of a power of two, so that finding a face's
// run is a shift and a mask; a run never straddles two blocks.
inline constexpr uint32_t kCornerBlockShift = 14;
inline constexpr uint32_t kCornerBlockSize = uint32_t{1} << kCornerBlockShift;
inline constexpr uint32_t kMaxSmoothingGroups = 256;

struct VertexFaces;     // vertex_faces.h
struct EdgeFaces;       // edge_faces.h
struct SmoothingFaces;  // smoothing_faces.h

struct OBJModel {
    std::string _errorText;  // diagnostics of the read, appended as they occur
    DiagnosticBound _errorBound;  // how much of them _errorText keeps
    PagedArray<Vec3> _vertices{kVertexBlockSize};            // (x, y, z), w being 1
    PagedArray<Vec3> _normals{kNormalBlockSize};             // (x, y, z), w being 1
    PagedArray<Vec3> _textureCoords{kTextureCoordBlockSize};  // (u, v, w), the fourth being 1
    std::vector<Material> _materials;
    PagedArray<OBJFace> _faces{kFaceBlockSize};  // a face's index is its position
    PagedArray<int32_t> _corners{kCornerBlockSize};  // the faces' corner runs (OBJFace)
    // Vertex-to-faces index (vertex_faces.h); null until first asked for.
    VertexFaces* _vertexFaces = nullptr;
    // Edge-to-faces index (edge_faces.h); null until first asked for.
    EdgeFaces* _edgeFaces = nullptr;
    // Smoothing-group-to-faces index (smoothing_faces.h); null until first
    // asked for.
    SmoothingFaces* _smoothingFaces = nullptr;
    std::vector<FaceIndexList> _materialFaces;  // parallel to _materials
    // "usemtl" finds its material here, in constant time however many
    // materials the libraries hold.
    std::unordered_map<std::string, int32_t> _firstMaterialNamed;
    std::vector<std::string> _groupNames;       // in order of creation
    std::map<std::string, FaceIndexList> _groupFaces;  // keys compared byte-wise
    uint32_t _smoothingGroupCount = 0;
    uint32_t _smoothingGroups[kMaxSmoothingGroups] = {};  // in order of first appearance

    OBJModel() = default;
    ~OBJModel();
    OBJModel(const OBJModel&) = delete;
    OBJModel& operator=(const OBJModel&) = delete;

    // Appends a copy and an empty face list. False when memory ran out (then
    // neither is added).
    bool addMaterial(const Material& material);

    // Index of the first material named exactly so (case-sensitive); -1 if none.
    int32_t findMaterial(const std::string& name) const;

    // Fills this freshly created model from an OBJ file; false when the read
    // was abandoned (the reasons are in _errorText).
    bool readOBJ(const std::string& path);

    // Reads one MTL library, appending a record per material to list in file
    // order (they stay there on failure too); a nonzero stopOnUnknown ends the
    // read at the first unknown keyword. Changes only _errorText. Ok when the
    // library was read to its end; Ended when it could not be opened or read
    // to its end, or an unknown keyword stopped it (the reason is in
    // _errorText); OutOfMemory when the line reader's memory ran out. Throws
    // std::bad_alloc when other memory runs out (readOBJ turns it into
    // OutOfMemory).
    ReadStatus readMTL(const std::string& path, std::vector<Material>& list, uint8_t stopOnUnknown);

    // Appends a face, its corners to _corners, and lists it with its
    // material. False when memory ran out (then nothing is stored).
    bool addFace(const FaceValue& face);

    // Appends a stored face whose run is at corners, giving it a run of its
    // own; the material lists are the caller's. False, with nothing stored,
    // when memory ran out or _corners would pass 2^32 entries.
    TOLLGRAM_ALWAYS_INLINE bool appendFace(const OBJFace& face, const int32_t* corners) {
        const uint32_t length = cornerRunLength(face);
        OBJFace stored = face;
        stored._firstCorner = 0;
        int32_t* run = length > 0 ? _corners.appendRun(length, stored._firstCorner) : nullptr;
        if (length > 0 && !run) return false;
        if (!_faces.append(stored)) {
            if (run) _corners.dropRun(stored._firstCorner);
            return false;
        }
        if (run) std::memcpy(run, corners, size_t(length) * sizeof(int32_t));
        return true;
    }

    // Frees the vertex-to-faces index (vertex_faces.cpp).
    void releaseVertexFaces();

    // Frees the edge-to-faces index (edge_faces.cpp).
    void releaseEdgeFaces();

    // Frees the smoothing-group-to-faces index (smoothing_faces.cpp).
    void releaseSmoothingFaces();

    // The face list of a group, created with the group when new (the reader
    // keeps it for the faces of one group line); null when memory ran out.
    FaceIndexList* findOrCreateGroupFaceList(const std::string& name);
};

// Where a stored face's corners lie, given the blocks of the model's
// _corners.
inline FaceCorners cornersIn(const int32_t* const* cornerBlocks, const OBJFace& face) {
    if (face._cornerCount == 0) return {};
    const uint32_t first = face._firstCorner;
    const int32_t* run = cornerBlocks[first >> kCornerBlockShift] + (first & (kCornerBlockSize - 1));
    FaceCorners corners;
    corners.count = face._cornerCount;
    corners.vertices = run;
    const int32_t* next = run + corners.count;
    if (face._hasTexture) {
        if (face._sameIndices & kTexturesAreVertices) {
            corners.textures = run;
        } else {
            corners.textures = next;
            next += corners.count;
        }
    }
    if (face._hasNormal) corners.normals = face._sameIndices & kNormalsAreVertices ? run : next;
    return corners;
}

inline FaceCorners cornersOf(const OBJModel& model, const OBJFace& face) {
    return cornersIn(model._corners._blocks.data(), face);
}

// The model's faces and their corners through plain pointers, copied once:
// for loops that write through byte pointers, which may alias anything the
// model holds and would have it loaded again after every write.
class FaceTable {
public:
    explicit FaceTable(const OBJModel& model)
        : faces_(model._faces._blocks.data()),
          corners_(model._corners._blocks.data()),
          blockSize_(model._faces._blockSize),
          count_(model._faces._count) {}

    // Face f, or null beyond the stored faces.
    const OBJFace* find(uint32_t f) const { return f < count_ ? &faces_[f / blockSize_][f % blockSize_] : nullptr; }

    // Face f's corners; none beyond the stored faces, where a face reads as
    // an empty one.
    FaceCorners corners(uint32_t f) const {
        const OBJFace* face = find(f);
        return face ? cornersIn(corners_, *face) : FaceCorners{};
    }

private:
    const OBJFace* const* faces_;
    const int32_t* const* corners_;
    uint32_t blockSize_;
    uint32_t count_;
};

// Face i as one value; an empty face (no corners, no smoothing group, no
// material) for an index beyond the stored faces.
FaceValue faceValueAt(const OBJModel& model, uint32_t i);

}  // namespace tollgram::obj
