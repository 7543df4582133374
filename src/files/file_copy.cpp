// A file copy in two calls: FileCopyFrom names the source, each FileCopyTo
// copies it to a destination.
#include <cstdint>
#include <cstdlib>

#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/results.h"
#include "platform/whole_file.h"

namespace tollgram::files {

namespace {
constexpr size_t kCopyBlockSize = 4000;

enum class Copy : uint8_t {
    Done,
    NoDestination,    // no destination named, or no source
    SameFile,         // the destination is the source, whatever the spelling
    SourceNotOpened,  // the destination is not touched
    NotWritten,       // a read or write failed, or the target took nothing: the destination is as it was
};

// Copies until the source ends; false when a read or a write failed.
bool copyBlocks(std::FILE* source, platform::WholeFileSink& destination, char* block) {
    for (;;) {
        const platform::StreamRead read = platform::systemCalls().files.readStream(block, kCopyBlockSize, source);
        if (read.count > 0 && !destination.write(block, read.count)) return false;
        if (read.failed) return false;
        if (read.count == 0) return true;
    }
}

Copy copyFile(const char* sourcePath, const char* destinationPath) {
    if (destinationPath == nullptr || sourcePath[0] == '\0') return Copy::NoDestination;
    const platform::FileCalls& files = platform::systemCalls().files;
    // Removing or truncating the destination would destroy the source it
    // names.
    if (files.same(sourcePath, destinationPath)) return Copy::SameFile;
    // A device or a pipe is no source: reading it could wait for ever.
    std::FILE* source = files.openStream(sourcePath, "rb");
    if (source == nullptr) return Copy::SourceNotOpened;
    auto copy = [source](platform::WholeFileSink& destination) {
        // Straight from the heap: a failed copy is its result, never a note.
        char* block = static_cast<char*>(platform::systemCalls().memory.allocate(kCopyBlockSize));
        const bool copied = block != nullptr && copyBlocks(source, destination, block);
        std::free(block);
        return copied;
    };
    const platform::WholeFileWrite written =
        platform::writeWholeFile(destinationPath, platform::WriteThrough::Stream, copy);
    files.closeStream(source);
    return written == platform::WholeFileWrite::Written ? Copy::Done : Copy::NotWritten;
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
    return files::copyFile(files::filesState().copySourcePath, frame.text) == files::Copy::Done ? kSuccess : kFailure;
}

}  // namespace tollgram::work
