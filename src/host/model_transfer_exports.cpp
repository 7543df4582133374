// SetMesh3DFromOBJGroup and SetMesh3DFromOBJSmoothGroup: a group or
// smoothing group of the current model as mask values ("mask") or crease
// edges ("crease") on the host's current mesh.
#include <cstdint>

#include "frame/call_frame.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "host/host_state.h"
#include "host/mesh_arrays.h"
#include "host/model_transfer.h"
#include "host/records.h"
#include "obj/current_model.h"
#include "obj/obj_model.h"

namespace tollgram {

namespace {

// A mesh is only taken for the model's when it has as many vertices.
bool sameVertexCount(const uint8_t* mesh, const obj::OBJModel& model) {
    return static_cast<int64_t>(host::hostVertexCount(mesh)) == static_cast<int64_t>(model._vertices._count);
}

float transfer(const CallFrame& frame, host::Choice choice) {
    obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr || !isPositive(frame.value) || frame.context == nullptr) {
        return kFailure;
    }
    const uint32_t number = truncToUint32(frame.value);
    const uint32_t available =
        choice == host::Choice::Group ? static_cast<uint32_t>(model->_groupNames.size()) : model->_smoothingGroupCount;
    if (number > available) return kFailure;

    // Numbers count from 1; a value in (0, 1) makes number 0, whose index
    // names no group and fails in the transfer.
    const uint32_t index = number - 1;
    uint8_t* mesh = host::pointerAt(frame.context, host::context::kMeshRecord);
    if (mesh == nullptr) return kFailure;  // "mask" as well as "crease"
    if (keyIs(frame.text, "mask")) {
        if (!sameVertexCount(mesh, *model)) return kVertexCountsDiffer;
        return host::maskTransfer(*model, choice, index, mesh, host::hostState().maskValue);
    }
    if (keyIs(frame.text, "crease")) {
        if (!sameVertexCount(mesh, *model)) return kVertexCountsDiffer;
        return host::creaseTransfer(*model, choice, index, mesh);
    }
    return kFailure;
}

}  // namespace

namespace work {

float SetMesh3DFromOBJGroup(const CallFrame& frame) { return transfer(frame, host::Choice::Group); }

float SetMesh3DFromOBJSmoothGroup(const CallFrame& frame) { return transfer(frame, host::Choice::SmoothingGroup); }

}  // namespace work
}  // namespace tollgram
