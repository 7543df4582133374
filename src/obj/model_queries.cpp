#include "obj/model_queries.h"

#include <algorithm>
#include <new>

namespace tollgram::obj {

namespace {

// Widens (first, highest) by the corners of one face.
void spanFace(const OBJModel& model, const OBJFace& face, uint32_t& first, uint32_t& highest) {
    const FaceCorners corners = cornersOf(model, face);
    for (uint32_t c = 0; c < corners.count; ++c) {
        const uint32_t v = static_cast<uint32_t>(corners.vertices[c]);
        if (v < first) first = v;
        if (v > highest) highest = v;
    }
}

VertexRange rangeOf(uint32_t first, uint32_t highest) {
    return VertexRange{first, highest > first ? highest - first + 1 : 0};
}

}  // namespace

VertexRange groupVertexRange(const OBJModel& model, uint32_t groupIndex) {
    const uint32_t vertexCount = model._vertices._count;
    if (vertexCount == 0) return VertexRange{0, 0};
    const FaceIndexList* list = groupFaceList(model, groupIndex);
    if (list == nullptr) return VertexRange{vertexCount, 0};
    uint32_t first = vertexCount;
    uint32_t highest = 0;
    for (int32_t faceIndex : *list) {
        // An index beyond the stored faces is an empty face: no corners.
        if (const OBJFace* face = model._faces.find(static_cast<uint32_t>(faceIndex))) {
            spanFace(model, *face, first, highest);
        }
    }
    return rangeOf(first, highest);
}

VertexRange smoothingGroupVertexRange(const OBJModel& model, uint32_t number) {
    uint32_t first = model._vertices._count;
    uint32_t highest = 0;
    for (uint32_t i = 0; i < model._faces._count; ++i) {
        const OBJFace& face = *model._faces.find(i);
        if (face._smoothingGroup == number) spanFace(model, face, first, highest);
    }
    return rangeOf(first, highest);
}

uint32_t smoothingGroupCountOf(const OBJModel& model) {
    return std::min(model._smoothingGroupCount, kMaxSmoothingGroups);
}

uint32_t smoothingGroupFaceCount(const OBJModel& model, uint32_t number) {
    uint32_t count = 0;
    for (uint32_t i = 0; i < model._faces._count; ++i) {
        if (model._faces.find(i)->_smoothingGroup == number) ++count;
    }
    return count;
}

const std::string& defaultGroupName() {
    static const std::string name = "default";
    return name;
}

const FaceIndexList* findGroupFaceList(const OBJModel& model, const std::string& name) {
    const auto found = model._groupFaces.find(name);
    return found != model._groupFaces.end() ? &found->second : nullptr;
}

const FaceIndexList* groupFaceList(const OBJModel& model, uint32_t groupIndex) {
    return groupIndex < model._groupNames.size() ? findGroupFaceList(model, model._groupNames[groupIndex]) : nullptr;
}

std::optional<uint32_t> smoothingGroupAt(const OBJModel& model, uint32_t position) {
    if (position >= smoothingGroupCountOf(model)) return std::nullopt;
    return model._smoothingGroups[position];
}

bool listHoldsFace(const FaceIndexList* list, int32_t faceIndex) {
    return list != nullptr && std::binary_search(list->begin(), list->end(), faceIndex);
}

FaceListCursor::FaceListCursor(const FaceIndexList* list, int32_t fromFace) {
    if (list == nullptr) return;
    end_ = list->end();
    next_ = std::lower_bound(list->begin(), end_, fromFace);
}

bool groupContainsFace(const OBJModel& model, int32_t faceIndex, const std::string& name) {
    return listHoldsFace(findGroupFaceList(model, name), faceIndex);
}

const std::string& groupNameOfFace(const OBJModel& model, int32_t faceIndex) {
    for (const std::string& name : model._groupNames) {
        if (groupContainsFace(model, faceIndex, name)) return name;
    }
    return defaultGroupName();
}

bool FirstGroupIndex::build(const OBJModel& model) {
    built_ = false;
    try {
        firstGroup_.assign(model._faces._count, kNoGroup);
    } catch (const std::bad_alloc&) {
        firstGroup_.clear();
        return false;
    }
    // Groups in order of creation, so the first to claim a face keeps it.
    for (uint32_t g = 0; g < model._groupNames.size(); ++g) {
        const FaceIndexList* list = findGroupFaceList(model, model._groupNames[g]);
        if (list == nullptr) continue;
        for (int32_t faceIndex : *list) {
            const uint32_t face = static_cast<uint32_t>(faceIndex);
            if (face < firstGroup_.size() && firstGroup_[face] == kNoGroup) firstGroup_[face] = g;
        }
    }
    built_ = true;
    return true;
}

const std::string& FirstGroupIndex::nameOfFace(const OBJModel& model, int32_t faceIndex) const {
    if (!built_) return groupNameOfFace(model, faceIndex);
    const uint32_t face = static_cast<uint32_t>(faceIndex);
    // Faces beyond the store are in a group only if a list names them.
    if (face >= firstGroup_.size()) return groupNameOfFace(model, faceIndex);
    const uint32_t g = firstGroup_[face];
    return g == kNoGroup ? defaultGroupName() : model._groupNames[g];
}

}  // namespace tollgram::obj
