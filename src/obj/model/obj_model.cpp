#include "obj/model/obj_model.h"

#include <new>

namespace tollgram::obj {

OBJModel::~OBJModel() {
    releaseVertexFaces();
    releaseEdgeFaces();
    releaseSmoothingFaces();
}

bool OBJModel::addFace(const FaceValue& value) {
    OBJFace face;
    const uint32_t count = value._cornerCount < kMaxFaceCorners ? value._cornerCount : kMaxFaceCorners;
    face._smoothingGroup = value._smoothingGroup;
    face._materialIndex = value._materialIndex;
    int32_t run[3 * kMaxFaceCorners];
    packCorners(face, count, value._vertexIndices, value._hasTexture ? value._textureIndices : nullptr,
                value._hasNormal ? value._normalIndices : nullptr, run);
    if (!appendFace(face, run)) return false;
    const auto material = size_t(face._materialIndex);
    return face._materialIndex < 0 || material >= _materialFaces.size() ||
           _materialFaces[material].appendRun(_faces._count - 1, 1, 1);
}

FaceValue faceValueAt(const OBJModel& model, uint32_t i) {
    FaceValue value;
    const OBJFace* face = model._faces.find(i);
    if (!face) return value;
    const FaceCorners corners = cornersOf(model, *face);
    value._cornerCount = corners.count;
    value._hasTexture = face->_hasTexture;
    value._hasNormal = face->_hasNormal;
    value._smoothingGroup = face->_smoothingGroup;
    value._materialIndex = face->_materialIndex;
    for (uint32_t c = 0; c < corners.count; ++c) {
        value._vertexIndices[c] = corners.vertices[c];
        if (corners.textures) value._textureIndices[c] = corners.textures[c];
        if (corners.normals) value._normalIndices[c] = corners.normals[c];
    }
    return value;
}

bool OBJModel::addMaterial(const Material& material) {
    const size_t count = _materials.size();
    try {
        _materials.push_back(material);
        _materialFaces.emplace_back();
        _firstMaterialNamed.try_emplace(material._name, static_cast<int32_t>(count));
    } catch (const std::bad_alloc&) {
        if (_materialFaces.size() > count) _materialFaces.pop_back();
        if (_materials.size() > count) _materials.pop_back();
        return false;
    }
    return true;
}

int32_t OBJModel::findMaterial(const std::string& name) const {
    const auto found = _firstMaterialNamed.find(name);
    return found == _firstMaterialNamed.end() ? -1 : found->second;
}

FaceIndexList* OBJModel::findOrCreateGroupFaceList(const std::string& name) {
    try {
        // One search finds the group or the place of a new one, so that a
        // file of a million groups costs one search per group.
        const auto place = _groupFaces.lower_bound(name);
        if (place != _groupFaces.end() && place->first == name) return &place->second;
        _groupNames.push_back(name);
        try {
            return &_groupFaces.emplace_hint(place, name, FaceIndexList{})->second;
        } catch (const std::bad_alloc&) {
            _groupNames.pop_back();
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace tollgram::obj
