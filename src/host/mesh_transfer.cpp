#include "host/mesh_transfer.h"

#include <cstdint>
#include <optional>

#include "frame/export_keys.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "host/host_state.h"
#include "host/model_transfer.h"
#include "host/records.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"

namespace tollgram::host {

namespace {

Outcome outcomeOfTransfer(Transferred transferred) {
    switch (transferred.fault) {
        case TransferFault::None: return counted(transferred.count);
        case TransferFault::VertexCountsDiffer: return failed(Failure::VertexCountsDiffer);
        default: return failed();
    }
}

}  // namespace

Outcome transferToMesh(void* hostContext, const char* key, double value, Choice choice) {
    obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || key == nullptr || hostContext == nullptr) return failed();
    const uint32_t available =
        choice == Choice::Group ? static_cast<uint32_t>(model->_groupNames.size()) : model->_smoothingGroupCount;
    const std::optional<uint32_t> number = numberUpTo(value, available);
    if (!number) return failed();

    // A value in (0, 1) makes number 0, whose index names no group and fails
    // in the transfer, after the vertex counts are compared.
    const uint32_t index = *number - 1;
    uint8_t* mesh = pointerAt(hostContext, context::kMeshRecord);
    if (mesh == nullptr) return failed();  // "mask" as well as "crease"
    if (keyIs(key, keys::kMask)) {
        return outcomeOfTransfer(maskTransfer(*model, choice, index, mesh, hostState().maskValue));
    }
    if (keyIs(key, keys::kCrease)) return outcomeOfTransfer(creaseTransfer(*model, choice, index, mesh));
    return failed();
}

}  // namespace tollgram::host
