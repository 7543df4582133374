#include "thumbnail/whole_file.h"

#include "frame/message_box.h"
#include "platform/whole_file.h"

namespace tollgram::thumbnail {

int32_t WriteWholeFile(const char* path, const void* block, size_t byteCount) {
    if (path == nullptr) return -1;
    platform::FileHandle file = 0;
    if (!platform::openWholeFile(path, &file)) return -1;
    const size_t written = platform::writeFile(file, block, byteCount);
    if (written != byteCount) showNote(kFileWriteErrorCaption, kIncompleteWriteText);
    // Cut even after a short write: an older, longer file must not keep its
    // tail behind what was written.
    platform::cutAndClose(file);
    return written == byteCount ? 0 : -1;
}

}  // namespace tollgram::thumbnail
