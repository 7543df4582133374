#pragma once
// State that outlives a call is owned by the subsystems, one instance per
// loaded library in static storage, set to its initial values when the
// library is loaded and never saved: the current model (obj/current_model.h),
// the file list, dialog settings, copy source and app-link path
// (files/files_state.h), the thumbnail size (thumbnail/thumbnail_state.h) and
// the mask value (host/host_state.h). The frame only puts them all back.
namespace tollgram {

// Puts every subsystem's state back to its load-time value. The current
// model pointer is cleared without releasing the model: callers that own one
// free it first.
void resetModuleState();

}  // namespace tollgram
