#pragma once
// Buffered output of a text file: lines are collected in a large block and
// handed to the runtime in few writes, instead of one formatted write per
// number. Line ends are the platform's text-mode ones; the file itself is
// opened in byte mode so the bytes are exactly those written here. The file
// is written under a staging name beside it and takes its place only when
// close() finds every byte written (platform/staged_file.h): a write that
// fails, on a full disk for one, leaves an existing file as it was.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/staged_file.h"

namespace tollgram::obj {

class TextFileWriter {
public:
    // Starts the file; ok() tells whether that worked. Without memory for the
    // buffer, or for a path that names a device or a directory, nothing is
    // written anywhere. path must stay valid until close().
    explicit TextFileWriter(const char* path);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    bool ok() const { return file_ != nullptr; }

    void text(const char* text);
    void text(const char* text, size_t length);
    void unsignedNumber(uint32_t number);
    void coordinate(float value);
    void lineEnd();

    // A line put together in place: room for capacity bytes of text, then
    // endLine with the end of what was written, which adds the line end.
    // Saves copying a line made elsewhere.
    char* lineSpace(size_t capacity) {
        if (kBufferSize - used_ < capacity + kLineEndRoom) flush();
        return buffer_.get() + used_;
    }
    void endLine(char* end);

    // Writes what is buffered, closes the file and puts it in the target's
    // place; false, with the target as it was, when a write failed. The
    // destructor closes without reporting and leaves the target alone.
    bool close();

private:
    static constexpr size_t kBufferSize = 1u << 20;
    // Room that every single append fits in, so appends check once.
    static constexpr size_t kLongestAppend = 32;
    static constexpr size_t kLineEndRoom = 2;

    char* reserve(size_t bytes);
    void flush();

    platform::StagedFile staged_;
    std::FILE* file_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace tollgram::obj
