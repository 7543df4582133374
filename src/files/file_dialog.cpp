#include "files/file_dialog.h"

#include "files/file_filter.h"
#include "files/file_list_buffer.h"
#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "platform/dialogs.h"

namespace tollgram::files {

Outcome setDefaultDirectory(const char* text) {
    FilesState& state = filesState();
    if (text == nullptr) {
        state.defaultDirectory[0] = '\0';
        return succeeded();
    }
    return numbered(boundedCopy(state.defaultDirectory, sizeof state.defaultDirectory, text));
}

Outcome setDialogTitle(const char* text) {
    FilesState& state = filesState();
    const char* title = text ? text : kDefaultDialogTitle;
    return numbered(boundedCopy(state.dialogTitle, sizeof state.dialogTitle, title));
}

Outcome chooseFiles(const char* filter, double value) {
    FilesState& state = filesState();
    clearList(state.fileListBuffer);

    char filterList[kFilterListSize];
    if (!buildFilterList(filter, filterList)) return failed(Failure::TextTooLong);

    const platform::OpenFileRequest request{
        filterList,
        state.fileListBuffer,
        sizeof state.fileListBuffer,
        state.defaultDirectory,
        state.dialogTitle,
        value != 1.0,  // a NaN also selects several
    };
    if (!platform::systemCalls().dialogs.openFile(request)) {
        // A selection that did not fit leaves its required size in the
        // first bytes; nothing of a failed dialog may pass for a path.
        clearList(state.fileListBuffer);
        return failed();
    }
    return numbered(countListedFiles(state.fileListBuffer));
}

}  // namespace tollgram::files
