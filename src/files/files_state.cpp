#include "files/files_state.h"

namespace tollgram::files {

namespace {
constexpr FilesState initialState() {
    FilesState state{};
    for (size_t i = 0; kDefaultDialogTitle[i] != '\0'; ++i) {
        state.dialogTitle[i] = kDefaultDialogTitle[i];
    }
    return state;
}

// Constant-initialised, so it holds its initial values before any code of
// the library runs, whatever order the loader runs constructors in.
constinit FilesState g_state = initialState();  // NOLINT(cert-err58-cpp): constant-initialised, nothing runs at load
}  // namespace

FilesState& filesState() { return g_state; }

void resetFilesState() { g_state = initialState(); }

}  // namespace tollgram::files
