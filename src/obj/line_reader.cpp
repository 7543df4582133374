#include "obj/line_reader.h"

#include <cstring>

#include "obj/block_memory.h"
#include "platform/regular_file.h"

namespace tollgram::obj {

LineReader::~LineReader() {
    if (file_) (void)std::fclose(file_);  // read only: closing loses nothing
    releaseBlock(block_);
}

bool LineReader::open(const std::string& path) {
    // Binary, so that the line ends are the file's own on every platform; the
    // carriage return of a CR LF pair is dropped by readLine. A device or
    // anything else that is not a regular file counts as not opened.
    file_ = platform::openRegularFileForReading(path.c_str());
    if (!file_) return false;
    block_ = static_cast<char*>(allocateBlock(kLineReaderBlockSize + 1));
    if (!block_) {
        outOfMemory_ = true;
        return false;
    }
    capacity_ = kLineReaderBlockSize;
    block_[0] = '\0';
    return true;
}

// Makes room behind the unread bytes and reads more; false at the end of the
// file or when the block can't grow.
bool LineReader::fill() {
    if (begin_ > 0) {
        std::memmove(block_, block_ + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == capacity_) {
        char* grown = static_cast<char*>(resizeBlock(block_, 2 * capacity_ + 1));
        if (!grown) {
            outOfMemory_ = true;
            return false;
        }
        block_ = grown;
        capacity_ *= 2;
    }
    const size_t read = std::fread(block_ + end_, 1, capacity_ - end_, file_);
    end_ += read;
    block_[end_] = '\0';  // what unread() promises
    return read > 0;
}

bool LineReader::readLine(char*& line, size_t& length) {
    for (;;) {
        if (!block_) {
            line = nullptr;
            length = 0;
            return false;
        }
        char* start = block_ + begin_;
        char* feed = static_cast<char*>(std::memchr(start, '\n', end_ - begin_));
        if (feed) {
            char* stop = (feed > start && feed[-1] == '\r') ? feed - 1 : feed;
            *stop = '\0';
            line = start;
            length = size_t(stop - start);
            begin_ = size_t(feed + 1 - block_);
            return true;
        }
        if (atEnd_ || !fill()) {
            atEnd_ = true;
            if (outOfMemory_) {
                begin_ = end_ = 0;
            }
            start = block_ + begin_;
            block_[end_] = '\0';
            line = start;
            length = end_ - begin_;
            begin_ = end_;
            return false;
        }
    }
}

}  // namespace tollgram::obj
