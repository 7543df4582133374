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
    // The first bytes tell what kind of text this is.
    atEnd_ = !fill();
    examineStart();
    return true;
}

void LineReader::examineStart() {
    const auto* start = reinterpret_cast<const unsigned char*>(block_);
    if (end_ >= 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF) {
        begin_ = 3;  // UTF-8 byte-order mark
        return;
    }
    if (end_ < 2) return;
    auto ascii = [](unsigned char c) { return c != 0 && c < 0x80; };
    utf16_ = (start[0] == 0xFF && start[1] == 0xFE) || (start[0] == 0xFE && start[1] == 0xFF) ||
             (ascii(start[0]) && start[1] == 0) || (start[0] == 0 && ascii(start[1]));
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

namespace {
// The first line feed or carriage return in [p, limit), or limit.
char* lineEndIn(char* p, const char* limit) {
    while (p != limit && *p != '\n' && *p != '\r') ++p;
    return p;
}
}  // namespace

bool LineReader::readLine(char*& line, size_t& length) {
    for (;;) {
        if (!block_) {
            line = nullptr;
            length = 0;
            return false;
        }
        char* start = block_ + begin_;
        const char* limit = block_ + end_;
        char* stop = lineEndIn(start, limit);
        // A carriage return that ends the bytes read so far may be the first
        // half of a CR LF pair: the next read decides.
        const bool undecided = *stop == '\r' && stop + 1 == limit && !atEnd_;
        if (stop != limit && !undecided) {
            const char* next = stop + 1;
            if (*stop == '\r' && next != limit && *next == '\n') ++next;
            *stop = '\0';
            line = start;
            length = size_t(stop - start);
            begin_ = size_t(next - block_);
            return true;
        }
        if (atEnd_ || !fill()) {
            atEnd_ = true;
            if (outOfMemory_) {
                begin_ = end_ = 0;
            } else if (undecided) {
                continue;  // nothing follows: the carriage return ends the line
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
