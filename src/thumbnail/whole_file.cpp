#include "thumbnail/whole_file.h"

#include "frame/message_box.h"
#include "platform/whole_file.h"

namespace tollgram::thumbnail {

int32_t WriteWholeFile(const char* path, const void* block, size_t byteCount) {
    if (path == nullptr) return -1;
    // One write of the whole block through the system's own file handle.
    auto writeBlock = [&](platform::WholeFileSink& sink) { return sink.write(block, byteCount); };
    const platform::WholeFileWrite written = platform::writeWholeFile(path, platform::WriteThrough::Handle, writeBlock);
    if (written == platform::WholeFileWrite::ShortWrite) showNote(kFileWriteErrorCaption, kIncompleteWriteText);
    return written == platform::WholeFileWrite::Written ? 0 : -1;
}

}  // namespace tollgram::thumbnail
