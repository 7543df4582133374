// A file copy in two calls: FileCopyFrom names the source, each FileCopyTo
// copies it to a destination.
#include <cstdlib>

#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/results.h"
#include "platform/memory.h"
#include "platform/files.h"
#include "platform/staged_file.h"

namespace tollgram::files {

namespace {
constexpr size_t kCopyBlockSize = 4000;

// Copies until the source ends; false when a read or a write failed.
bool copyBlocks(std::FILE* source, std::FILE* destination, char* block) {
    for (;;) {
        const platform::StreamRead read = platform::systemCalls().files.readStream(block, kCopyBlockSize, source);
        if (read.count > 0 && platform::systemCalls().files.writeStream(block, read.count, destination) < read.count) return false;
        if (read.failed) return false;
        if (read.count == 0) return true;
    }
}

// False when nothing was copied; the destination is then as it was.
bool copyFile(const char* sourcePath, const char* destinationPath) {
    if (destinationPath == nullptr || sourcePath[0] == '\0') return false;
    // Removing or truncating the destination would destroy the source it
    // names, whatever the spelling.
    if (platform::systemCalls().files.same(sourcePath, destinationPath)) return false;

    std::FILE* source = platform::systemCalls().files.openStream(sourcePath, "rb");
    if (source == nullptr) return false;  // the destination is not touched
    // The copy goes under a staging name that takes the destination's place
    // only when whole: a failed copy, on a full disk for one, leaves an
    // existing destination as it was. A device or a directory is no
    // destination.
    platform::StagedFile staged;
    std::FILE* destination = staged.begin(destinationPath) ? platform::systemCalls().files.openStream(staged.path(), "wb") : nullptr;
    if (destination == nullptr) {
        platform::systemCalls().files.closeStream(source);
        return false;
    }
    // Straight from the heap: a failed copy is its result, never a note.
    char* block = static_cast<char*>(platform::systemCalls().memory.allocate(kCopyBlockSize));
    bool copied = block != nullptr && copyBlocks(source, destination, block);
    std::free(block);
    // Buffered bytes reach the file only when it is closed.
    if (platform::systemCalls().files.closeStream(destination) != 0) copied = false;
    platform::systemCalls().files.closeStream(source);
    return copied && staged.commit();
}
}  // namespace

}  // namespace tollgram::files

namespace tollgram::work {

float FileCopyFrom(const CallFrame& frame) {
    if (frame.text == nullptr) return kFailure;
    files::FilesState& state = files::filesState();
    return intResult(boundedCopy(state.copySourcePath, sizeof state.copySourcePath, frame.text));
}

float FileCopyTo(const CallFrame& frame) {
    return files::copyFile(files::filesState().copySourcePath, frame.text) ? kSuccess : kFailure;
}

}  // namespace tollgram::work
