#include "obj/text_chunks.h"

#include <cstring>

namespace tollgram::obj {

TextChunks::~TextChunks() {
    if (file_) (void)std::fclose(file_);  // read only: closing loses nothing
}

bool TextChunks::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

size_t TextChunks::sizeHint() {
    if (!file_ || std::fseek(file_, 0, SEEK_END) != 0) return 0;
    const long end = std::ftell(file_);
    std::rewind(file_);
    // A file too large for ftell is simply large.
    return end < 0 ? size_t(-1) : size_t(end);
}

ReadStatus TextChunks::next(TextBuffer& chunk, size_t bytes) {
    chunk.clear();
    if (bytes == 0) bytes = 1;
    if (!chunk.reserve(carried_.size() + bytes + 1)) return ReadStatus::OutOfMemory;
    if (carried_.size() > 0) std::memcpy(chunk.data(), carried_.data(), carried_.size());
    chunk.resize(carried_.size());
    carried_.clear();
    for (;;) {
        const size_t before = chunk.size();
        if (!atEnd_) {
            const size_t room = chunk.capacity() - 1 - before;
            const size_t got = std::fread(chunk.data() + before, 1, room, file_);
            chunk.resize(before + got);
            if (got < room) atEnd_ = true;  // the end, or an error, which counts as the end
        }
        // The cut comes after the last line feed; only the new bytes can hold one.
        char* last = nullptr;
        for (char* p = chunk.data() + chunk.size(); p > chunk.data() + before;) {
            if (*--p == '\n') {
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
        if (!chunk.reserve(2 * chunk.capacity())) return ReadStatus::OutOfMemory;
    }
    chunk.data()[chunk.size()] = '\0';
    return ReadStatus::Ok;
}

}  // namespace tollgram::obj
