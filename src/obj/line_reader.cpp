#include "obj/line_reader.h"

#include <cstring>

namespace tollgram::obj {

bool LineReader::readLine(char*& line, size_t& length) {
    if (next_ == chunk_.size()) {
        next_ = 0;
        if (outOfMemory_ || chunks_.next(chunk_, kLineReaderChunkBytes) != ReadStatus::Ok) {
            outOfMemory_ = true;
            chunk_.clear();
        }
        if (chunk_.size() == 0) {
            empty_[0] = '\0';
            line = empty_;
            length = 0;
            return false;
        }
    }
    char* start = chunk_.data() + next_;
    char* end = chunk_.data() + chunk_.size();
    char* feed = static_cast<char*>(std::memchr(start, '\n', size_t(end - start)));
    // Only the file's last chunk can end without a line feed.
    char* stop = feed ? feed : end;
    next_ = feed ? size_t(feed + 1 - chunk_.data()) : chunk_.size();
    if (feed && stop > start && stop[-1] == '\r') --stop;
    *stop = '\0';
    line = start;
    length = size_t(stop - start);
    return feed != nullptr;
}

}  // namespace tollgram::obj
