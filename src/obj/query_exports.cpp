// The exports that answer a script's questions about the current model.
#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "obj/current_model.h"
#include "obj/model_queries.h"
#include "obj/obj_model.h"

namespace tollgram::work {

namespace {

// A 1-based number from value, as a 0-based index below limit; false when
// value is not positive (NaN included) or the number is beyond limit.
bool positionFrom(double value, uint32_t limit, uint32_t& index) {
    if (!isPositive(value)) return false;
    const uint32_t n = truncToUint32(value);
    if (n < 1 || n > limit) return false;
    index = n - 1;
    return true;
}

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
    uint32_t group = 0;
    if (!positionFrom(frame.value, groupCountOf(*model), group)) return kFailure;
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
        uint32_t position = 0;
        if (!positionFrom(frame.value, obj::smoothingGroupCountOf(*model), position)) return kFailure;
        return unsignedResult(model->_smoothingGroups[position]);
    }
    return kFailure;
}

}  // namespace tollgram::work
