#pragma once
// Models made in memory for the tests, their faces listed the way the reader
// lists the faces it reads, and the slot of the current model that the
// exports read.
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "support/module_reset.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"

namespace tollgram::test {

// Lists a face in the group named, creating the group, through the reader's
// own calls; false when memory ran out.
inline bool listInGroup(obj::OBJModel& model, const std::string& name, uint32_t face) {
    obj::FaceIndexList* list = model.findOrCreateGroupFaceList(name);
    return list != nullptr && list->appendRun(face, 1, 1);
}

// Stores the face, lists it with its material and in each group named;
// false when memory ran out.
inline bool listFace(obj::OBJModel& model, const obj::FaceValue& face, std::initializer_list<const char*> groups = {}) {
    if (!model.addFace(face)) return false;
    const uint32_t index = model._faces._count - 1;
    for (const char* group : groups) {
        if (!listInGroup(model, group, index)) return false;
    }
    return true;
}

// Registers a smoothing-group number as the reader does: each number once.
inline void registerSmoothingGroup(obj::OBJModel& model, uint32_t number) {
    for (uint32_t i = 0; i < model._smoothingGroupCount; ++i) {
        if (model._smoothingGroups[i] == number) return;
    }
    model._smoothingGroups[model._smoothingGroupCount++] = number;
}

class ModelBuilder {
public:
    explicit ModelBuilder(uint32_t vertexCount) : model_(std::make_unique<obj::OBJModel>()) {
        for (uint32_t v = 0; v < vertexCount; ++v) model_->_vertices.append(obj::Vec3{float(v), 0, 0});
    }

    // A face in the groups named, with a smoothing-group number (0: none).
    ModelBuilder& face(const std::vector<int32_t>& corners, std::initializer_list<const char*> groups = {},
                       uint32_t smoothingGroup = 0) {
        obj::FaceValue face;
        face._cornerCount = static_cast<uint32_t>(corners.size());
        for (size_t c = 0; c < corners.size(); ++c) face._vertexIndices[c] = corners[c];
        face._smoothingGroup = smoothingGroup;
        listFace(*model_, face, groups);
        if (smoothingGroup != 0) registerSmoothingGroup(*model_, smoothingGroup);
        return *this;
    }

    obj::OBJModel& model() { return *model_; }
    std::unique_ptr<obj::OBJModel> take() { return std::move(model_); }

private:
    std::unique_ptr<obj::OBJModel> model_;
};

// Installs a model (an empty one unless given) as the current one, freeing
// the one before; at the end of the scope frees whichever model is current
// then, as the exports may have replaced it.
class CurrentModel {
public:
    explicit CurrentModel(std::unique_ptr<obj::OBJModel> model = std::make_unique<obj::OBJModel>()) {
        delete obj::objState().currentModel;
        obj::objState().currentModel = model.release();
    }
    ~CurrentModel() {
        delete obj::objState().currentModel;
        obj::objState().currentModel = nullptr;
    }
    CurrentModel(const CurrentModel&) = delete;
    CurrentModel& operator=(const CurrentModel&) = delete;
    obj::OBJModel& operator*() const { return *obj::objState().currentModel; }
    obj::OBJModel* operator->() const { return obj::objState().currentModel; }
};

}  // namespace tollgram::test
