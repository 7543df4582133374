// A file copy in two calls: FileCopyFrom names the source, each FileCopyTo
// copies it to a destination.
#include "files/file_copy.h"

#include <cstdlib>

#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "platform/whole_file.h"

namespace tollgram::files {

namespace {
constexpr size_t kCopyBlockSize = 4000;

// Copies until the source ends; false when a read or a write failed.
bool copyBlocks(std::FILE* source, platform::WholeFileSink& destination, char* block) {
    for (;;) {
        const platform::StreamRead read = platform::systemCalls().files.readStream(block, kCopyBlockSize, source);
        if (read.count > 0 && !destination.write(block, read.count)) return false;
        if (read.failed) return false;
        if (read.count == 0) return true;
    }
}

// Every failure leaves the destination as it was: no destination named or
// no source, the destination being the source whatever the spelling, a
// source that does not open, a read or write that failed.
Outcome copyFile(const char* sourcePath, const char* destinationPath) {
    if (destinationPath == nullptr || sourcePath[0] == '\0') return failed();
    const platform::FileCalls& files = platform::systemCalls().files;
    // Removing or truncating the destination would destroy the source it
    // names.
    if (files.same(sourcePath, destinationPath)) return failed();
    // A device or a pipe is no source: reading it could wait for ever.
    std::FILE* source = files.openStream(sourcePath, "rb");
    if (source == nullptr) return failed();
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
    return written == platform::WholeFileWrite::Written ? succeeded() : failed();
}
}  // namespace

Outcome setCopySource(const char* path) {
    if (path == nullptr) return failed();
    FilesState& state = filesState();
    return numbered(boundedCopy(state.copySourcePath, sizeof state.copySourcePath, path));
}

Outcome copyToDestination(const char* path) { return copyFile(filesState().copySourcePath, path); }

}  // namespace tollgram::files
