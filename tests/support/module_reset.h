#pragma once
// The tests' way back to a freshly loaded library. State that outlives a
// call is owned by the subsystems, one instance per loaded library in static
// storage: the current model (obj/current_model.h), the file list, dialog
// settings, copy source and app-link path (files/files_state.h), the
// thumbnail size (thumbnail/thumbnail_state.h) and the mask value
// (host/host_state.h).
namespace tollgram {

// Puts every subsystem's state back to its load-time value. The current
// model pointer is cleared without releasing the model: callers that own one
// free it first.
void resetModuleState();

}  // namespace tollgram
