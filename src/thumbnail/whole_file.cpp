#include "thumbnail/whole_file.h"

#include "frame/message_box.h"
#include "platform/staged_file.h"
#include "platform/files.h"

namespace tollgram::thumbnail {

int32_t WriteWholeFile(const char* path, const void* block, size_t byteCount) {
    if (path == nullptr) return -1;
    // Written under a staging name that takes the target's place only when
    // whole: a short write leaves an existing file as it was.
    platform::StagedFile staged;
    if (!staged.begin(path)) return -1;
    platform::FileHandle file = 0;
    if (!platform::systemCalls().files.openWhole(staged.path(), &file)) return -1;
    const size_t written = platform::systemCalls().files.write(file, block, byteCount);
    if (written != byteCount) showNote(kFileWriteErrorCaption, kIncompleteWriteText);
    platform::systemCalls().files.cutAndClose(file);
    if (written != byteCount) return -1;
    return staged.commit() ? 0 : -1;
}

}  // namespace tollgram::thumbnail
