// The open-file dialog and its two settings.
#include "files/file_filter.h"
#include "files/file_list_buffer.h"
#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/results.h"
#include "platform/dialogs.h"

namespace tollgram::work {

float SetDefaultDir(const CallFrame& frame) {
    files::FilesState& state = files::filesState();
    if (frame.text == nullptr) {
        state.defaultDirectory[0] = '\0';
        return kSuccess;
    }
    return intResult(boundedCopy(state.defaultDirectory, sizeof state.defaultDirectory, frame.text));
}

float SetDialogTitle(const CallFrame& frame) {
    files::FilesState& state = files::filesState();
    const char* title = frame.text ? frame.text : files::kDefaultDialogTitle;
    return intResult(boundedCopy(state.dialogTitle, sizeof state.dialogTitle, title));
}

float GetFileList(const CallFrame& frame) {
    files::FilesState& state = files::filesState();
    files::clearList(state.fileListBuffer);

    char filterList[files::kFilterListSize];
    if (!files::buildFilterList(frame.text, filterList)) return kFailure;

    const platform::OpenFileRequest request{
        filterList,
        state.fileListBuffer,
        sizeof state.fileListBuffer,
        state.defaultDirectory,
        state.dialogTitle,
        frame.value != 1.0,  // a NaN also selects several
    };
    if (!platform::systemCalls().dialogs.openFile(request)) {
        // A selection that did not fit leaves its required size in the
        // first bytes; nothing of a failed dialog may pass for a path.
        files::clearList(state.fileListBuffer);
        return 0.0f;
    }
    return intResult(files::countListedFiles(state.fileListBuffer));
}

}  // namespace tollgram::work
