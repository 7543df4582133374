#include "obj/obj_model.h"

#include <new>

namespace tollgram::obj {

OBJModel::~OBJModel() {
    releaseVertexFaces();
    releaseEdgeFaces();
    releaseSmoothingFaces();
}

void OBJModel::releaseVertexFaces() {
    if (!_vertexFaces) return;
    for (uint32_t v = 0; v < _vertexFaces->_count; ++v) {
        FaceRefChunk* chunk = _vertexFaces->find(v)->_next;
        while (chunk) {
            FaceRefChunk* next = chunk->_next;
            releaseBlock(chunk);
            chunk = next;
        }
    }
    delete _vertexFaces;
    _vertexFaces = nullptr;
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
