#pragma once
// Two models compared record by record, byte for byte: what the reader must
// make the same whichever way it reads a file. Gives the first difference in
// words, or an empty text. Shared by the reader tests and the fuzzer.
#include <cstring>
#include <string>

#include "obj/model/obj_model.h"

namespace tollgram::obj::test {

template <typename T>
std::string pagedDifference(const PagedArray<T>& a, const PagedArray<T>& b, const char* what) {
    if (a._count != b._count || a._blockSize != b._blockSize || a._lastBlock != b._lastBlock ||
        a._blocks.size() != b._blocks.size()) {
        return std::string(what) + ": " + std::to_string(a._count) + " against " + std::to_string(b._count);
    }
    for (uint32_t i = 0; i < a._count; ++i) {
        if (std::memcmp(a.find(i), b.find(i), sizeof(T)) != 0) return std::string(what) + " " + std::to_string(i) + " differs";
    }
    return {};
}

inline std::string listDifference(const FaceIndexList& a, const FaceIndexList& b, const std::string& what) {
    if (a.size() != b.size()) return what + ": " + std::to_string(a.size()) + " against " + std::to_string(b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return what + " entry " + std::to_string(i) + " differs";
    }
    return {};
}

// Bit for bit: a zero's sign and an infinity count.
inline bool sameMaterial(const Material& a, const Material& b) {
    auto sameNumbers = [](const double* x, const double* y, int n) { return std::memcmp(x, y, sizeof(double) * size_t(n)) == 0; };
    return a._name == b._name && sameNumbers(a._diffuse, b._diffuse, 3) && sameNumbers(a._ambient, b._ambient, 3) &&
           sameNumbers(a._specular, b._specular, 3) && sameNumbers(&a._specularExponent, &b._specularExponent, 1) &&
           sameNumbers(&a._dissolve, &b._dissolve, 1) && sameNumbers(&a._opticalDensity, &b._opticalDensity, 1) &&
           sameNumbers(&a._illumination, &b._illumination, 1) && a._diffuseMap == b._diffuseMap &&
           a._specularMap == b._specularMap && a._ambientMap == b._ambientMap && a._bumpMap == b._bumpMap &&
           a._dissolveMap == b._dissolveMap;
}

inline std::string modelDifference(const OBJModel& a, const OBJModel& b) {
    if (a._errorText != b._errorText) return "error text \"" + a._errorText + "\" against \"" + b._errorText + "\"";
    for (const std::string& d : {pagedDifference(a._vertices, b._vertices, "vertex"),
                                 pagedDifference(a._normals, b._normals, "normal"),
                                 pagedDifference(a._textureCoords, b._textureCoords, "texture coordinate"),
                                 pagedDifference(a._faces, b._faces, "face"),
                                 pagedDifference(a._corners, b._corners, "corner index")}) {
        if (!d.empty()) return d;
    }
    if ((a._vertexFaces == nullptr) != (b._vertexFaces == nullptr)) return "vertex-to-faces index";
    if (a._materials.size() != b._materials.size()) return "material count";
    for (size_t i = 0; i < a._materials.size(); ++i) {
        if (!sameMaterial(a._materials[i], b._materials[i])) return "material " + std::to_string(i);
    }
    if (a._materialFaces.size() != b._materialFaces.size()) return "material face lists";
    for (size_t i = 0; i < a._materialFaces.size(); ++i) {
        std::string d = listDifference(a._materialFaces[i], b._materialFaces[i], "faces of material " + std::to_string(i));
        if (!d.empty()) return d;
    }
    if (a._groupNames != b._groupNames) return "group names";
    if (a._groupFaces.size() != b._groupFaces.size()) return "group count";
    for (auto x = a._groupFaces.begin(), y = b._groupFaces.begin(); x != a._groupFaces.end(); ++x, ++y) {
        if (x->first != y->first) return "group " + x->first + " against " + y->first;
        std::string d = listDifference(x->second, y->second, "faces of group " + x->first);
        if (!d.empty()) return d;
    }
    if (a._smoothingGroupCount != b._smoothingGroupCount ||
        std::memcmp(a._smoothingGroups, b._smoothingGroups, sizeof a._smoothingGroups) != 0) {
        return "smoothing groups";
    }
    return {};
}

}  // namespace tollgram::obj::test
