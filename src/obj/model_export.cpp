#include "obj/model_export.h"

#include <optional>

#include "frame/numbers.h"
#include "obj/current_model.h"
#include "obj/model_queries.h"
#include "obj/model/obj_model.h"
#include "obj/write/obj_writer.h"

namespace tollgram::obj {

namespace {
// Every failure of a write is the one failure of the export.
Outcome outcomeOfWrite(ModelWrite written) { return written == ModelWrite::Written ? succeeded() : failed(); }
}  // namespace

Outcome exportGroup(const char* path, double value) {
    const OBJModel* model = objState().currentModel;
    if (model == nullptr || path == nullptr) return failed();
    // Anything above -1 and below 1 truncates to 0, the whole model; taken
    // as unsigned, a value of -1 or below is a huge number and fails.
    if (truncToUint32(value) == 0) return outcomeOfWrite(writeWholeModel(*model, path));
    const std::optional<uint32_t> group = indexUpTo(value, static_cast<uint32_t>(model->_groupNames.size()));
    if (!group) return failed();
    return outcomeOfWrite(writeGroup(*model, path, *group));
}

Outcome exportSmoothingGroup(const char* path, double value) {
    const OBJModel* model = objState().currentModel;
    if (model == nullptr || path == nullptr) return failed();
    const std::optional<uint32_t> position = indexUpTo(value, smoothingGroupCountOf(*model));
    if (!position) return failed();
    // The position names the stored number, which is what faces carry.
    return outcomeOfWrite(writeSmoothingGroup(*model, path, model->_smoothingGroups[*position]));
}

}  // namespace tollgram::obj
