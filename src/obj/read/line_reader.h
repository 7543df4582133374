#pragma once
// Reads a text file one line at a time, through chunks of whole lines (see
// text_chunks.h), so that a line costs a search for its end and nothing
// else: no runtime call per character and no allocation per line. A line is
// handed out in place, NUL-terminated, and stays valid until the next
// readLine.
#include <cstddef>
#include <string>

#include "obj/read/text_chunks.h"

namespace tollgram::obj {

inline constexpr size_t kLineReaderChunkBytes = size_t{1} << 18;

class LineReader {
public:
    // Opens the file for reading, shared with other readers and writers.
    // False when it can't be opened or is not a regular file (a device, a
    // pipe, a directory). Throws std::bad_alloc only.
    bool open(const std::string& path) { return chunks_.open(path); }

    // The next line, without its line end: a line feed, a carriage return
    // and a line feed, or a carriage return alone (the line end of old Mac
    // files). A line of any length is read whole. Returns false when the end
    // of the file was reached; the line then holds what followed the last
    // line end (perhaps nothing). A read error counts as the end of the
    // file (readFailed tells), and so does memory that runs out
    // (outOfMemory tells). A UTF-8 byte-order mark at the start of the file
    // is no part of the first line.
    bool readLine(char*& line, size_t& length);

    // See TextChunks::isUtf16.
    bool isUtf16() const { return chunks_.isUtf16(); }

    bool outOfMemory() const { return outOfMemory_; }

    // The system reported an error reading the file: the lines handed out
    // are those before the block that failed.
    bool readFailed() const { return chunks_.readFailed(); }

private:
    TextChunks chunks_;
    TextBuffer chunk_;
    size_t next_ = 0;  // first unread byte of chunk_
    bool pairOpen_ = false;  // the last line ended with a carriage return: a line feed next is its pair's
    bool outOfMemory_ = false;
    bool ended_ = false;  // the file's end, a read error or memory running out was met
    char empty_[1] = {'\0'};  // the line at the end of the file
};

}  // namespace tollgram::obj
