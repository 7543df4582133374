// The one way the library writes a file whole.
#include "platform/whole_file.h"

#include <cstring>

namespace tollgram::platform {

namespace {

// One staged write: begin, write to path() and close it there, then commit.
// A staged write that is not committed is removed when the object goes.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile() {
        if (staged_) systemCalls().staging.remove(staging_);
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // False, with nothing made, for an empty path, a target that exists and
    // is not a regular file, or one that takes no staging file anywhere.
    bool begin(const char* target) {
        if (target == nullptr || target[0] == '\0') return false;
        const StagingCalls& calls = systemCalls().staging;
        inPlace_ = !calls.finalPath(target, target_);
        if (inPlace_) {
            // Not known to be no link: only written through, never replaced.
            const size_t length = std::strlen(target);
            if (length >= sizeof target_) return false;
            std::memcpy(target_, target, length + 1);
        }
        const TargetKind kind = calls.targetKind(target_);
        if (kind == TargetKind::Other) return false;
        staged_ = calls.create(target_, staging_);
        if (!staged_ && kind == TargetKind::RegularFile) {
            // A file in a folder that can't be written may still be writable.
            staged_ = calls.createElsewhere(staging_);
            inPlace_ = true;
        }
        return staged_;
    }

    const char* path() const { return staging_; }

    bool commit() {
        if (!staged_) return false;
        staged_ = false;
        const StagingCalls& calls = systemCalls().staging;
        if (!inPlace_ && calls.replacingKeepsTarget(target_, staging_)) return calls.commit(staging_, target_);
        const bool written = calls.writeInPlace(staging_, target_);
        calls.remove(staging_);
        return written;
    }

private:
    StagingPath target_ = {};
    StagingPath staging_ = {};
    bool staged_ = false;
    bool inPlace_ = false;
};

}  // namespace

bool WholeFileSink::open(const char* path) {
    const FileCalls& files = systemCalls().files;
    if (through_ == WriteThrough::Stream) {
        stream_ = files.openStream(path, "wb");
        open_ = stream_ != nullptr;
    } else {
        open_ = files.openWhole(path, &handle_);
    }
    return open_;
}

bool WholeFileSink::write(const void* bytes, size_t count) {
    if (failed_ || !open_) return false;
    const FileCalls& files = systemCalls().files;
    const size_t written =
        through_ == WriteThrough::Stream ? files.writeStream(bytes, count, stream_) : files.write(handle_, bytes, count);
    failed_ = written != count;
    return !failed_;
}

bool WholeFileSink::close() {
    if (!open_) return true;
    open_ = false;
    const FileCalls& files = systemCalls().files;
    if (through_ == WriteThrough::Handle) {
        files.cutAndClose(handle_);
        return true;
    }
    // Buffered bytes reach the file only when it is closed.
    return files.closeStream(stream_) == 0;
}

WholeFileWrite writeWholeFile(const char* target, WriteThrough through, ProduceContent produce, void* context) {
    StagedFile staged;
    if (!staged.begin(target)) return WholeFileWrite::Refused;
    bool produced = false;
    bool whole = false;
    {
        WholeFileSink sink(through);
        if (!sink.open(staged.path())) return WholeFileWrite::Refused;
        produced = produce(context, sink);
        whole = sink.close() && !sink.failed();
    }
    if (!whole) return WholeFileWrite::ShortWrite;
    if (!produced) return WholeFileWrite::NotProduced;
    return staged.commit() ? WholeFileWrite::Written : WholeFileWrite::NotPlaced;
}

}  // namespace tollgram::platform
