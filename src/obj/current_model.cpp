#include "obj/current_model.h"

#include "obj/model/obj_model.h"

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
