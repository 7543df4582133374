#include "obj/current_model.h"

#include "frame/app.h"
#include "obj/model/obj_model.h"
#include "platform/module_hooks.h"

namespace tollgram::obj {

namespace {
// Constant-initialised: null before any code of the library runs.
constinit ObjState g_state{};
}  // namespace

ObjState& objState() { return g_state; }

void releaseCurrentModel() {
    delete g_state.currentModel;
    g_state.currentModel = nullptr;
}

void resetObjState() { g_state = ObjState{}; }

}  // namespace tollgram::obj

// When the host unloads the library and goes on, a current model still held
// goes with it, so that loading and unloading the library over and over
// costs nothing; when the process is ending there is nothing worth freeing.
void tollgram::platform::moduleUnloading(bool processEnding) {
    if (!processEnding) obj::releaseCurrentModel();
    stopModule();
}
