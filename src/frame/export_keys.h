#pragma once
// Every key an export takes, once: the exports match these names, and the
// list of each export's keys (in the order it tries them) is what tools that
// help script authors offer and check against.
#include <cstddef>
#include <span>

namespace tollgram::keys {

inline constexpr const char* kVertexCount = "vertexCount";
inline constexpr const char* kFaceCount = "faceCount";
inline constexpr const char* kGroupCount = "groupCount";
inline constexpr const char* kSmoothGroupCount = "smoothGroupCount";
inline constexpr const char* kName = "name";
inline constexpr const char* kFullName = "fullname";
inline constexpr const char* kCount = "count";
inline constexpr const char* kValue = "value";
inline constexpr const char* kGroupName = "groupName";
inline constexpr const char* kMaskValue = "maskValue";
inline constexpr const char* kSmoothAll = "smoothAll";
inline constexpr const char* kImportScaleX = "importScaleX";
inline constexpr const char* kImportScaleY = "importScaleY";
inline constexpr const char* kImportScaleZ = "importScaleZ";
inline constexpr const char* kImportOffsetX = "importOffsetX";
inline constexpr const char* kImportOffsetY = "importOffsetY";
inline constexpr const char* kImportOffsetZ = "importOffsetZ";
inline constexpr const char* kMask = "mask";
inline constexpr const char* kCrease = "crease";
inline constexpr const char* kWidth = "width";
inline constexpr const char* kHeight = "height";

inline constexpr const char* kOBJInfo[] = {kVertexCount, kFaceCount, kGroupCount, kSmoothGroupCount};
inline constexpr const char* kOBJGroupInfo[] = {kName, kVertexCount};
inline constexpr const char* kOBJSmoothGroupInfo[] = {kCount, kValue};
inline constexpr const char* kMeshInfo[] = {kGroupCount,    kGroupName,     kImportScaleX,  kImportScaleY,
                                            kImportScaleZ,  kImportOffsetX, kImportOffsetY, kImportOffsetZ};
inline constexpr const char* kSetMeshInfo[] = {kMaskValue,    kSmoothAll,     kImportScaleX,  kImportScaleY,
                                               kImportScaleZ, kImportOffsetX, kImportOffsetY, kImportOffsetZ};
inline constexpr const char* kNameOnly[] = {kName};
inline constexpr const char* kTransfer[] = {kMask, kCrease};
inline constexpr const char* kFileInfo[] = {kFullName, kName};
inline constexpr const char* kThumbnail[] = {kWidth, kHeight};

struct ExportKeys {
    const char* exportName;
    std::span<const char* const> keys;
};

inline constexpr ExportKeys kExportKeys[] = {
    {"GetOBJInfo", kOBJInfo},
    {"GetOBJGroupInfo", kOBJGroupInfo},
    {"GetOBJSmoothGroupInfo", kOBJSmoothGroupInfo},
    {"GetMesh3DInfo", kMeshInfo},
    {"SetMesh3DInfo", kSetMeshInfo},
    {"GetAlphaInfo", kNameOnly},
    {"GetTextureInfo", kNameOnly},
    {"SetMesh3DFromOBJGroup", kTransfer},
    {"SetMesh3DFromOBJSmoothGroup", kTransfer},
    {"GetFileInfo", kFileInfo},
    {"SetThumbnail", kThumbnail},
};

}  // namespace tollgram::keys
