// SetMesh3DFromOBJGroup and SetMesh3DFromOBJSmoothGroup: a group or
// smoothing group of the current model as mask values ("mask") or crease
// edges ("crease") on the host's current mesh.
#include <cstdint>
#include <optional>

#include "frame/call_frame.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "host/host_state.h"
#include "host/model_transfer.h"
#include "host/records.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"

namespace tollgram {

namespace {

float resultOf(host::Transferred transferred) {
    switch (transferred.fault) {
        case host::TransferFault::None: return unsignedResult(transferred.count);
        case host::TransferFault::VertexCountsDiffer: return kVertexCountsDiffer;
        default: return kFailure;
    }
}

float transfer(const CallFrame& frame, host::Choice choice) {
    obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr || frame.context == nullptr) return kFailure;
    const uint32_t available =
        choice == host::Choice::Group ? static_cast<uint32_t>(model->_groupNames.size()) : model->_smoothingGroupCount;
    const std::optional<uint32_t> number = numberUpTo(frame.value, available);
    if (!number) return kFailure;

    // A value in (0, 1) makes number 0, whose index names no group and fails
    // in the transfer, after the vertex counts are compared.
    const uint32_t index = *number - 1;
    uint8_t* mesh = host::pointerAt(frame.context, host::context::kMeshRecord);
    if (mesh == nullptr) return kFailure;  // "mask" as well as "crease"
    if (keyIs(frame.text, "mask")) {
        return resultOf(host::maskTransfer(*model, choice, index, mesh, host::hostState().maskValue));
    }
    if (keyIs(frame.text, "crease")) return resultOf(host::creaseTransfer(*model, choice, index, mesh));
    return kFailure;
}

}  // namespace

namespace work {

float SetMesh3DFromOBJGroup(const CallFrame& frame) { return transfer(frame, host::Choice::Group); }

float SetMesh3DFromOBJSmoothGroup(const CallFrame& frame) { return transfer(frame, host::Choice::SmoothingGroup); }

}  // namespace work
}  // namespace tollgram
