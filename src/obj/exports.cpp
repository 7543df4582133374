// The OBJ model exports: each reads its arguments from the frame and hands
// them to the subsystem.
#include "frame/call_frame.h"
#include "obj/current_model.h"
#include "obj/model_answers.h"
#include "obj/model_export.h"
#include "obj/model_loading.h"

namespace tollgram::exports {

Outcome LoadOBJFile(const CallFrame& frame) { return obj::loadCurrentModel(frame.text); }

Outcome FreeOBJModel(const CallFrame&) {
    obj::releaseCurrentModel();
    return succeeded();
}

Outcome ReplaceOBJVertices(const CallFrame& frame) { return obj::replaceCurrentVertices(frame.text); }

Outcome GetOBJInfo(const CallFrame& frame) { return obj::modelInfo(frame.text); }

Outcome GetOBJGroupInfo(const CallFrame& frame) {
    return obj::groupInfo(frame.text, frame.value, frame.buffer, frame.bufferSize);
}

Outcome GetOBJSmoothGroupInfo(const CallFrame& frame) { return obj::smoothingGroupInfo(frame.text, frame.value); }

Outcome ExportOBJGroup(const CallFrame& frame) { return obj::exportGroup(frame.text, frame.value); }

Outcome ExportOBJSmoothGroup(const CallFrame& frame) { return obj::exportSmoothingGroup(frame.text, frame.value); }

}  // namespace tollgram::exports
