#include "obj/model_answers.h"

#include <optional>

#include "frame/bounded_copy.h"
#include "frame/export_keys.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "obj/current_model.h"
#include "obj/model_queries.h"
#include "obj/model/obj_model.h"

namespace tollgram::obj {

namespace {

uint32_t groupCountOf(const OBJModel& model) {
    return static_cast<uint32_t>(model._groupNames.size());
}

}  // namespace

Outcome modelInfo(const char* key) {
    const OBJModel* model = objState().currentModel;
    if (model == nullptr || key == nullptr) return failed();
    if (keyIs(key, keys::kVertexCount)) return counted(model->_vertices._count);
    if (keyIs(key, keys::kFaceCount)) return counted(model->_faces._count);
    if (keyIs(key, keys::kGroupCount)) return counted(groupCountOf(*model));
    if (keyIs(key, keys::kSmoothGroupCount)) return counted(model->_smoothingGroupCount);
    return failed();
}

Outcome groupInfo(const char* key, double value, char* buffer, int32_t bufferSize) {
    const OBJModel* model = objState().currentModel;
    if (model == nullptr || key == nullptr) return failed();
    const std::optional<uint32_t> found = indexUpTo(value, groupCountOf(*model));
    if (!found) return failed();
    const uint32_t group = *found;
    if (keyIs(key, keys::kName)) {
        // A missing buffer is told apart from the checks above.
        if (buffer == nullptr) return failed(Failure::UnusableInput);
        return numbered(boundedCopy(buffer, capacityOf(bufferSize), model->_groupNames[group].c_str()));
    }
    if (keyIs(key, keys::kVertexCount)) return counted(groupVertexRange(*model, group).count);
    return failed();
}

Outcome smoothingGroupInfo(const char* key, double value) {
    const OBJModel* model = objState().currentModel;
    if (model == nullptr || key == nullptr) return failed();
    if (keyIs(key, keys::kCount)) return counted(model->_smoothingGroupCount);
    if (keyIs(key, keys::kValue)) {
        const std::optional<uint32_t> position = indexUpTo(value, smoothingGroupCountOf(*model));
        if (!position) return failed();
        return counted(model->_smoothingGroups[*position]);
    }
    return failed();
}

}  // namespace tollgram::obj
