#pragma once
// The plain records the model is made of. Vec3, OBJFace and the corner
// indices are copied into paged blocks by value; their default values are
// the elements a PagedArray reports for an index it does not hold.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace tollgram::obj {

inline constexpr uint32_t kMaxFaceCorners = 8;

// A position, normal or texture coordinate as stored. The fourth component
// of every one is 1: Vec4 supplies it where one is read whole.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

inline Vec4 vec4Of(const Vec3& v) { return {v.x, v.y, v.z, 1.0f}; }

// Kinds of a face's indices that are its vertex indices again, and so are
// not stored: meshes of one index per corner ("f 7/7/7 8/8/8 ...") keep a
// third of the indices.
inline constexpr uint8_t kTexturesAreVertices = 1;
inline constexpr uint8_t kNormalsAreVertices = 2;

// A face as stored: 16 bytes, its corner indices elsewhere, in the model's
// _corners: _cornerCount vertex indices from _firstCorner on, then as many
// texture indices when _hasTexture, then as many normal indices when
// _hasNormal, each kind but the vertices' left out when _sameIndices says
// it equals them. A face keeps what it has and no more.
struct OBJFace {
    uint32_t _firstCorner = 0;
    uint8_t _cornerCount = 0;  // 0..kMaxFaceCorners
    uint8_t _hasTexture = 0;
    uint8_t _hasNormal = 0;
    uint8_t _sameIndices = 0;      // kTexturesAreVertices, kNormalsAreVertices
    uint32_t _smoothingGroup = 0;  // 0: none
    int32_t _materialIndex = -1;   // -1: none
};

// The indices a face's corners run holds.
inline uint32_t cornerRunLength(const OBJFace& face) {
    const bool ownTextures = face._hasTexture && !(face._sameIndices & kTexturesAreVertices);
    const bool ownNormals = face._hasNormal && !(face._sameIndices & kNormalsAreVertices);
    return uint32_t(face._cornerCount) * (1u + ownTextures + ownNormals);
}

// Sets the face's corner count and index kinds and writes its run (room for
// 3 * kMaxFaceCorners) from the corners' indices; textures and normals null
// when the face has none. Returns the run's length.
inline uint32_t packCorners(OBJFace& face, uint32_t count, const int32_t* vertices, const int32_t* textures,
                            const int32_t* normals, int32_t* run) {
    const size_t bytes = count * sizeof(int32_t);
    face._cornerCount = uint8_t(count);
    face._hasTexture = textures ? 1 : 0;
    face._hasNormal = normals ? 1 : 0;
    face._sameIndices = 0;
    std::memcpy(run, vertices, bytes);
    uint32_t length = count;
    if (textures) {
        if (std::memcmp(textures, vertices, bytes) == 0) {
            face._sameIndices |= kTexturesAreVertices;
        } else {
            std::memcpy(run + length, textures, bytes);
            length += count;
        }
    }
    if (normals) {
        if (std::memcmp(normals, vertices, bytes) == 0) {
            face._sameIndices |= kNormalsAreVertices;
        } else {
            std::memcpy(run + length, normals, bytes);
            length += count;
        }
    }
    return length;
}

// A face with its corners in one value, whatever the model stores: what
// faces are made from outside the reader, and what a face reads back as.
struct FaceValue {
    uint32_t _cornerCount = 0;
    int32_t _vertexIndices[kMaxFaceCorners] = {};   // zero-based, pairwise distinct
    int32_t _textureIndices[kMaxFaceCorners] = {};  // meaningful when _hasTexture
    int32_t _normalIndices[kMaxFaceCorners] = {};   // meaningful when _hasNormal
    uint8_t _hasTexture = 0;
    uint8_t _hasNormal = 0;
    uint32_t _smoothingGroup = 0;
    int32_t _materialIndex = -1;
};

// A stored face's corners where they lie in the model.
struct FaceCorners {
    uint32_t count = 0;
    const int32_t* vertices = nullptr;
    const int32_t* textures = nullptr;  // null when the face has none
    const int32_t* normals = nullptr;   // null when the face has none
};

struct Material {
    std::string _name;
    double _diffuse[3] = {0.0, 0.0, 0.0};
    double _ambient[3] = {0.0, 0.0, 0.0};
    double _specular[3] = {0.0, 0.0, 0.0};
    double _specularExponent = 0.0;
    double _dissolve = 1.0;
    double _opticalDensity = 1.0;
    double _illumination = 0.0;  // the illumination model number
    std::string _diffuseMap;
    std::string _specularMap;
    std::string _ambientMap;
    std::string _bumpMap;
    std::string _dissolveMap;
};

// Blocks hold these as raw bytes: copying must be a plain memory copy.
static_assert(std::is_trivially_copyable_v<Vec3>);
static_assert(std::is_trivially_copyable_v<OBJFace>);
static_assert(sizeof(Vec3) == 12 && sizeof(OBJFace) == 16, "the model's memory is counted in these sizes");

}  // namespace tollgram::obj
