#include "frame/module_state.h"

namespace tollgram {

namespace {
constexpr ModuleState initialState() {
    ModuleState state{};
    for (size_t i = 0; kDefaultDialogTitle[i] != '\0'; ++i) {
        state.dialogTitle[i] = kDefaultDialogTitle[i];
    }
    return state;
}

// Constant-initialised, so it holds its initial values before any code of
// the library runs, whatever order the loader runs constructors in.
constinit ModuleState g_state = initialState();  // NOLINT(cert-err58-cpp): constant-initialised, nothing runs at load
}  // namespace

ModuleState& moduleState() { return g_state; }

void resetModuleState() { g_state = initialState(); }

}  // namespace tollgram
