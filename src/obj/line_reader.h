#pragma once
// Reads a text file one line at a time through one large block, so that a
// line costs a search for its line feed and nothing else: no runtime call
// per character and no allocation per line. A line is handed out in place,
// NUL-terminated, and stays valid until the next readLine.
#include <cstddef>
#include <cstdio>
#include <string>

namespace tollgram::obj {

inline constexpr size_t kLineReaderBlockSize = size_t{1} << 18;

class LineReader {
public:
    LineReader() = default;
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens the file for reading, shared with other readers and writers.
    // False when it can't be opened, is not a regular file (a device, a
    // pipe, a directory) or its block can't be allocated (outOfMemory tells
    // which).
    bool open(const std::string& path);

    // The next line, without its line end: a line feed, a carriage return
    // and a line feed, or a carriage return alone (the line end of old Mac
    // files). A line longer than the block is read whole: the block grows
    // to hold it. Returns false when the end of the file was reached; the
    // line then holds what followed the last line end (perhaps nothing).
    // A read error counts as the end of the file. A UTF-8 byte-order mark at
    // the start of the file is no part of the first line.
    bool readLine(char*& line, size_t& length);

    // The file starts as UTF-16 text does (a UTF-16 byte-order mark, or an
    // ASCII character and a zero byte in either order), which no line of
    // this reader can make sense of.
    bool isUtf16() const { return utf16_; }

    // The bytes not yet read, ended by a NUL (which may fall inside a line):
    // a parser may look through them for a whole line and, when it takes
    // one, pass the last character of its line end to skipThrough. readLine
    // reads on from there.
    const char* unread() const { return block_ + begin_; }
    void skipThrough(const char* lineFeed) { begin_ = size_t(lineFeed + 1 - block_); }

    // The block could not be allocated or grown; reading has stopped.
    bool outOfMemory() const { return outOfMemory_; }

private:
    bool fill();
    void examineStart();

    std::FILE* file_ = nullptr;
    char* block_ = nullptr;  // capacity_ bytes and one for a terminator
    size_t capacity_ = 0;
    size_t begin_ = 0;  // first unread byte
    size_t end_ = 0;    // end of the bytes read from the file
    bool atEnd_ = false;
    bool outOfMemory_ = false;
    bool utf16_ = false;
};

}  // namespace tollgram::obj
