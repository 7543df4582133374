#include "obj/read/text_chunks.h"

#include <cstring>
#include <new>

#include "obj/read/text_classes.h"
#include "platform/system.h"

namespace tollgram::obj {

namespace {

// UTF-16 by its byte-order mark, or by every code unit of the first bytes
// being an ASCII character beside a zero byte, in the same order: a pattern
// that ASCII text with a stray NUL ("\0\n", "v\0") cannot make.
bool startsAsUtf16(const unsigned char* start, size_t size) {
    if (size >= 2 && ((start[0] == 0xFF && start[1] == 0xFE) || (start[0] == 0xFE && start[1] == 0xFF))) return true;
    const size_t units = size / 2;
    if (units < 2) return false;
    auto ascii = [](unsigned char c) { return c != 0 && c < 0x80; };
    bool little = true;
    bool big = true;
    for (size_t i = 0; i < units && (little || big); ++i) {
        const unsigned char first = start[2 * i];
        const unsigned char second = start[2 * i + 1];
        little = little && ascii(first) && second == 0;
        big = big && first == 0 && ascii(second);
    }
    return little || big;
}

}  // namespace

TextChunks::~TextChunks() {
    if (file_) (void)platform::systemCalls().files.closeStream(file_);  // read only: closing loses nothing
}

bool TextChunks::open(const std::string& path) {
    const platform::FileCalls& files = platform::systemCalls().files;
    file_ = files.openStream(path.c_str(), "rb");
    if (!file_) return false;
    sizeHint_ = files.streamSize(file_);
    // The first bytes tell what kind of text this is: enough of them for
    // several short lines.
    constexpr size_t kStart = 128;
    if (!carried_.reserve(kStart)) throw std::bad_alloc();
    const platform::StreamRead first = files.readStream(carried_.data(), kStart, file_);
    const size_t got = first.count;
    carried_.resize(got);
    atEnd_ = got < kStart;
    failed_ = first.failed;
    const auto* start = reinterpret_cast<const unsigned char*>(carried_.data());
    if (got >= 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF) {
        // A UTF-8 byte-order mark, no part of the text.
        std::memmove(carried_.data(), carried_.data() + 3, got - 3);
        carried_.resize(got - 3);
    } else {
        utf16_ = startsAsUtf16(start, got);
    }
    return true;
}

ReadStatus TextChunks::next(TextBuffer& chunk, size_t bytes) {
    chunk.clear();
    if (failed_) return ReadStatus::Ended;  // nothing after an error is read
    if (bytes == 0) bytes = 1;
    if (!chunk.reserve(carried_.size() + bytes + 1)) return ReadStatus::OutOfMemory;
    if (carried_.size() > 0) std::memcpy(chunk.data(), carried_.data(), carried_.size());
    chunk.resize(carried_.size());
    carried_.clear();
    // The carried bytes hold no line end, but for the file's first bytes.
    size_t searched = 0;
    // One call of the system table per block read: blocks are large.
    const platform::FileCalls& files = platform::systemCalls().files;
    for (;;) {
        if (!atEnd_) {
            const size_t before = chunk.size();
            const size_t room = chunk.capacity() - 1 - before;
            const platform::StreamRead got = files.readStream(chunk.data() + before, room, file_);
            chunk.resize(before + got.count);
            if (got.failed) failed_ = true;
            if (got.count < room) atEnd_ = true;
        }
        if (failed_) return ReadStatus::Ended;
        // The cut comes after the last line end; only bytes not yet searched
        // can hold one.
        char* last = nullptr;
        for (char* p = chunk.data() + chunk.size(); p > chunk.data() + searched;) {
            if (isLineEnd(*--p)) {
                last = p;
                break;
            }
        }
        if (last) {
            const size_t kept = size_t(last + 1 - chunk.data());
            const size_t rest = chunk.size() - kept;
            if (!carried_.reserve(rest)) return ReadStatus::OutOfMemory;
            if (rest > 0) std::memcpy(carried_.data(), last + 1, rest);
            carried_.resize(rest);
            chunk.resize(kept);
            break;
        }
        if (atEnd_) break;
        // One line longer than the chunk: read on until it ends.
        searched = chunk.size();
        if (!chunk.reserve(2 * chunk.capacity())) return ReadStatus::OutOfMemory;
    }
    chunk.data()[chunk.size()] = '\0';
    return ReadStatus::Ok;
}

}  // namespace tollgram::obj
