// The exports that answer a script's questions about the current model.
#include <optional>

#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "obj/current_model.h"
#include "obj/model_queries.h"
#include "obj/model/obj_model.h"

namespace tollgram::work {

namespace {

uint32_t groupCountOf(const obj::OBJModel& model) {
    return static_cast<uint32_t>(model._groupNames.size());
}

}  // namespace

float GetOBJInfo(const CallFrame& frame) {
    const obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr) return 0.0f;
    if (keyIs(frame.text, "vertexCount")) return unsignedResult(model->_vertices._count);
    if (keyIs(frame.text, "faceCount")) return unsignedResult(model->_faces._count);
    if (keyIs(frame.text, "groupCount")) return unsignedResult(groupCountOf(*model));
    if (keyIs(frame.text, "smoothGroupCount")) return unsignedResult(model->_smoothingGroupCount);
    return 0.0f;
}

float GetOBJGroupInfo(const CallFrame& frame) {
    const obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr) return kFailure;
    const std::optional<uint32_t> found = indexUpTo(frame.value, groupCountOf(*model));
    if (!found) return kFailure;
    const uint32_t group = *found;
    if (keyIs(frame.text, "name")) {
        // A missing buffer is told apart from the checks above.
        if (frame.buffer == nullptr) return kUnusableInput;
        return intResult(boundedCopy(frame.buffer, capacityOf(frame.bufferSize), model->_groupNames[group].c_str()));
    }
    if (keyIs(frame.text, "vertexCount")) return unsignedResult(obj::groupVertexRange(*model, group).count);
    return kFailure;
}

float GetOBJSmoothGroupInfo(const CallFrame& frame) {
    const obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr) return kFailure;
    if (keyIs(frame.text, "count")) return unsignedResult(model->_smoothingGroupCount);
    if (keyIs(frame.text, "value")) {
        const std::optional<uint32_t> position = indexUpTo(frame.value, obj::smoothingGroupCountOf(*model));
        if (!position) return kFailure;
        return unsignedResult(model->_smoothingGroups[*position]);
    }
    return kFailure;
}

}  // namespace tollgram::work
