// The exports that write the current model, or a part of it, to a file.
#include <optional>

#include "frame/call_frame.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "obj/current_model.h"
#include "obj/model_queries.h"
#include "obj/model/obj_model.h"
#include "obj/write/obj_writer.h"

namespace tollgram::work {

namespace {
// Every failure of a write is the export's one failure result.
float resultOf(obj::ModelWrite written) { return written == obj::ModelWrite::Written ? kSuccess : kFailure; }
}  // namespace

float ExportOBJGroup(const CallFrame& frame) {
    const obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr) return kFailure;
    // Anything above -1 and below 1 truncates to 0, the whole model; taken
    // as unsigned, a value of -1 or below is a huge number and fails.
    if (truncToUint32(frame.value) == 0) return resultOf(obj::writeWholeModel(*model, frame.text));
    const std::optional<uint32_t> group = indexUpTo(frame.value, static_cast<uint32_t>(model->_groupNames.size()));
    if (!group) return kFailure;
    return resultOf(obj::writeGroup(*model, frame.text, *group));
}

float ExportOBJSmoothGroup(const CallFrame& frame) {
    const obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr) return kFailure;
    const std::optional<uint32_t> position = indexUpTo(frame.value, obj::smoothingGroupCountOf(*model));
    if (!position) return kFailure;
    // The position names the stored number, which is what faces carry.
    return resultOf(obj::writeSmoothingGroup(*model, frame.text, model->_smoothingGroups[*position]));
}

}  // namespace tollgram::work
