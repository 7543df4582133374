#include "support/module_reset.h"

#include "files/files_state.h"
#include "host/host_state.h"
#include "obj/current_model.h"
#include "thumbnail/thumbnail_state.h"

namespace tollgram {

void resetModuleState() {
    obj::resetObjState();
    files::resetFilesState();
    thumbnail::resetThumbnailState();
    host::resetHostState();
}

}  // namespace tollgram
