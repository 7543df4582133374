#pragma once
// Buffered output of a text file: lines are collected in a large block and
// handed to the runtime in few writes, instead of one formatted write per
// number. Line ends are the platform's text-mode ones; the file itself is
// opened in byte mode so the bytes are exactly those written here. The file
// is written whole or not at all (platform/whole_file.h): a write that
// fails, on a full disk for one, leaves an existing file as it was.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>

#include "platform/whole_file.h"

namespace tollgram::obj {

class TextFileWriter {
public:
    static constexpr size_t kBufferSize = 1u << 20;

    // Lines go to the file through buffer, kBufferSize bytes.
    TextFileWriter(platform::WholeFileSink& file, char* buffer) : file_(file), buffer_(buffer) {}

    void text(const char* text);
    void text(const char* text, size_t length);
    void unsignedNumber(uint32_t number);
    void lineEnd();

    // A line put together in place: room for capacity bytes of text, then
    // endLine with the end of what was written, which adds the line end.
    // Saves copying a line made elsewhere.
    char* lineSpace(size_t capacity) {
        if (kBufferSize - used_ < capacity + kLineEndRoom) flush();
        return buffer_ + used_;
    }
    void endLine(char* end);

    // Hands the file what is still buffered; false when a write fell short.
    bool finish() {
        flush();
        return !file_.failed();
    }

private:
    // Room that every single append fits in, so appends check once.
    static constexpr size_t kLongestAppend = 32;
    static constexpr size_t kLineEndRoom = 2;

    char* reserve(size_t bytes);
    void flush();

    platform::WholeFileSink& file_;
    char* buffer_;
    size_t used_ = 0;
};

// Writes the text file at path whole, its lines made by produce, called
// with a TextFileWriter. The buffer comes first: without memory for it,
// nothing is made anywhere (Refused).
template <class Produce>
platform::WholeFileWrite writeTextFile(const char* path, Produce&& produce) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[TextFileWriter::kBufferSize]);
    if (!buffer) return platform::WholeFileWrite::Refused;
    auto writeLines = [&](platform::WholeFileSink& file) {
        TextFileWriter out(file, buffer.get());
        produce(out);
        return out.finish();
    };
    return platform::writeWholeFile(path, platform::WriteThrough::Stream, writeLines);
}

}  // namespace tollgram::obj
