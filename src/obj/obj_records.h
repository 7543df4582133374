#pragma once
// The plain records the model is made of. Vec4, OBJFace and FaceRefChunk are
// copied into paged blocks by value; their default values are the elements a
// PagedArray reports for an index it does not hold.
#include <cstdint>
#include <string>
#include <type_traits>

namespace tollgram::obj {

inline constexpr uint32_t kMaxFaceCorners = 8;
inline constexpr uint32_t kFaceRefChunkCapacity = 12;

struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

struct OBJFace {
    uint32_t _cornerCount = 0;
    int32_t _vertexIndices[kMaxFaceCorners] = {};   // zero-based, pairwise distinct
    int32_t _textureIndices[kMaxFaceCorners] = {};  // meaningful when _hasTexture
    int32_t _normalIndices[kMaxFaceCorners] = {};   // meaningful when _hasNormal
    uint8_t _hasTexture = 0;
    uint8_t _hasNormal = 0;
    uint32_t _smoothingGroup = 0;  // 0: none
    int32_t _materialIndex = -1;   // -1: none
};

// The corners of a face, never more than its arrays hold. The reader stores
// no face with more (addCorner refuses a ninth); a face made otherwise is
// read no further than its arrays.
inline uint32_t cornerCountOf(const OBJFace& face) {
    return face._cornerCount < kMaxFaceCorners ? face._cornerCount : kMaxFaceCorners;
}

// One link of a vertex's list of faces. Further links are single blocks from
// allocateBlock (block_memory.h) and are released with releaseBlock when the
// model is destroyed.
struct FaceRefChunk {
    uint32_t _count = 0;
    int32_t _faceIndices[kFaceRefChunkCapacity] = {};
    FaceRefChunk* _next = nullptr;
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
static_assert(std::is_trivially_copyable_v<Vec4>);
static_assert(std::is_trivially_copyable_v<OBJFace>);
static_assert(std::is_trivially_copyable_v<FaceRefChunk>);

}  // namespace tollgram::obj
