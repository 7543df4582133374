// The exports that write the current model, or a part of it, to a file.
#include "frame/call_frame.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "obj/current_model.h"
#include "obj/model_queries.h"
#include "obj/obj_model.h"
#include "obj/obj_writer.h"

namespace tollgram::work {

namespace {
// Every failure of a write is the export's one failure result.
float resultOf(obj::ModelWrite written) { return written == obj::ModelWrite::Written ? kSuccess : kFailure; }
}  // namespace

float ExportOBJGroup(const CallFrame& frame) {
    const obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr) return kFailure;
    // Taken as unsigned, a value of -1 or below is a huge number and fails
    // here; anything above -1 and below 1 is 0, the whole model.
    const uint32_t n = truncToUint32(frame.value);
    if (n > model->_groupNames.size()) return kFailure;
    if (n == 0) return resultOf(obj::writeWholeModel(*model, frame.text));
    if (!isPositive(frame.value)) return kFailure;
    return resultOf(obj::writeGroup(*model, frame.text, n - 1));
}

float ExportOBJSmoothGroup(const CallFrame& frame) {
    const obj::OBJModel* model = obj::objState().currentModel;
    if (model == nullptr || frame.text == nullptr) return kFailure;
    if (!isPositive(frame.value)) return kFailure;
    const uint32_t n = truncToUint32(frame.value);
    if (n < 1 || n > obj::smoothingGroupCountOf(*model)) return kFailure;
    // The position names the stored number, which is what faces carry.
    return resultOf(obj::writeSmoothingGroup(*model, frame.text, model->_smoothingGroups[n - 1]));
}

}  // namespace tollgram::work
