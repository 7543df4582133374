// The files and dialogs exports: each reads its arguments from the frame and
// hands them to the subsystem.
#include "files/app_link.h"
#include "files/directory_listing.h"
#include "files/file_copy.h"
#include "files/file_dialog.h"
#include "files/file_info.h"
#include "files/file_operations.h"
#include "files/files_state.h"
#include "frame/call_frame.h"

namespace tollgram::exports {

Outcome GetFileList(const CallFrame& frame) { return files::chooseFiles(frame.text, frame.value); }

// An empty directory text leaves the FileListBuffer as it was.
Outcome GetDirFileList(const CallFrame& frame) {
    if (frame.text == nullptr || frame.text[0] == '\0') return failed();
    return numbered(files::listDirectory(frame.text, files::filesState().fileListBuffer));
}

Outcome GetFileInfo(const CallFrame& frame) {
    return files::listedFileInfo(frame.text, frame.value, frame.buffer, frame.bufferSize);
}

Outcome SetDefaultDir(const CallFrame& frame) { return files::setDefaultDirectory(frame.text); }

Outcome SetDialogTitle(const CallFrame& frame) { return files::setDialogTitle(frame.text); }

Outcome FileDelete(const CallFrame& frame) { return files::removeFile(frame.text); }

Outcome FileCopyFrom(const CallFrame& frame) { return files::setCopySource(frame.text); }

Outcome FileCopyTo(const CallFrame& frame) { return files::copyToDestination(frame.text); }

Outcome DirCreate(const CallFrame& frame) { return files::makeDirectory(frame.text); }

Outcome DirDelete(const CallFrame& frame) { return files::removeDirectory(frame.text); }

Outcome SetAppLinkPath(const CallFrame& frame) { return files::setAppLink(frame.text); }

Outcome ResetAppLinkPath(const CallFrame&) { return files::resetAppLink(); }

Outcome AppLinkOpenFile(const CallFrame& frame) { return files::openWithAppLink(frame.text); }

}  // namespace tollgram::exports
