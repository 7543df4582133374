#pragma once
// A text file read as chunks of whole lines: each chunk holds the line the
// previous one cut off, then about the asked number of bytes more, up to and
// including the last line end among them (the last chunk ends with the
// file). A line ends at a line feed or a carriage return; a CR LF pair that
// a cut parts is two line ends with nothing between, which the readers take
// as one, since an empty line is no line to them. A line longer than a chunk
// is read whole, the chunk growing to hold it. A chunk is followed by a NUL,
// so that scanning stops at its end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "obj/read/read_status.h"
#include "obj/model/scratch_array.h"

namespace tollgram::obj {

using TextBuffer = ScratchArray<char>;

// The text of a chunk, without its NUL.
inline const char* textEnd(const TextBuffer& text) { return text.data() + text.size(); }

class TextChunks {
public:
    TextChunks() = default;
    ~TextChunks();
    TextChunks(const TextChunks&) = delete;
    TextChunks& operator=(const TextChunks&) = delete;

    // Opens the file for reading, shared with other readers and writers, in
    // binary mode so that the line ends are the file's own on every platform.
    // False when it can't be opened or is not a regular file (a device, a
    // pipe, a directory). A UTF-8 byte-order mark at its start is no part of
    // the first chunk. Throws std::bad_alloc only.
    bool open(const std::string& path);

    // The file starts as UTF-16 text does (a UTF-16 byte-order mark, or
    // ASCII characters each beside a zero byte, in one order, throughout its
    // first bytes), which no line of the readers can make sense of.
    bool isUtf16() const { return utf16_; }

    // The file's size as far as the system could tell it at opening (0 when
    // it couldn't), for deciding how to read it; the chunks hold what is
    // really there. 64 bits in every build: a file past 4 GiB is read
    // chunk by chunk by a 32-bit process too.
    uint64_t sizeHint() const { return sizeHint_; }

    // Fills chunk with the next chunk, about bytes long; it is left empty at
    // the end of the file. OutOfMemory when the chunk can't be had or grown;
    // Ended, with readFailed() true, when the system reported an error
    // reading the file (the caller tells why).
    ReadStatus next(TextBuffer& chunk, size_t bytes);

    bool readFailed() const { return failed_; }

private:
    std::FILE* file_ = nullptr;
    TextBuffer carried_;  // the bytes after the last line end read so far
    uint64_t sizeHint_ = 0;
    bool atEnd_ = false;
    bool utf16_ = false;
    bool failed_ = false;
};

}  // namespace tollgram::obj
