#include "platform/file_dialog.h"

#include <string>

#include "platform/child_process.h"
#include "platform/zenity_dialog.h"

namespace tollgram::platform {

OpenFileDialogFunction openFileDialogImpl = &systemOpenFileDialog;

namespace {
// More than any answer that could fit a file buffer; an answer beyond it is
// read to its end and then refused.
constexpr size_t kAnswerLimit = 1 << 20;
}  // namespace

bool systemOpenFileDialog(const OpenFileRequest& request) {
    const std::string zenity = findProgram("zenity");
    if (zenity.empty()) return false;  // no dialog to show: as if cancelled
    std::string answer;
    int status = 1;
    if (!runForOutput(zenity, zenityArguments(request), kAnswerLimit, answer, status)) return false;
    if (status != 0) return false;  // 1 is cancel; anything else a failed dialog
    return layoutSelection(answer, request.fileBuffer, request.fileBufferSize);
}

}  // namespace tollgram::platform
