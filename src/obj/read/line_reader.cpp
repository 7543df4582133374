#include "obj/read/line_reader.h"

namespace tollgram::obj {

bool LineReader::readLine(char*& line, size_t& length) {
    for (;;) {
        if (next_ == chunk_.size()) {
            next_ = 0;
            if (ended_) {
                chunk_.clear();
            } else {
                const ReadStatus got = chunks_.next(chunk_, kLineReaderChunkBytes);
                if (got != ReadStatus::Ok) {
                    // A read error (Ended) is told by readFailed.
                    outOfMemory_ = got == ReadStatus::OutOfMemory;
                    chunk_.clear();
                }
                ended_ = got != ReadStatus::Ok || chunk_.size() == 0;
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
        // The line feed of a CR LF pair that the chunks parted.
        if (pairOpen_ && *start == '\n') {
            pairOpen_ = false;
            ++next_;
            continue;
        }
        char* stop = start;
        while (stop != end && *stop != '\n' && *stop != '\r') ++stop;
        // Only the file's last chunk can end without a line end.
        if (stop == end) {
            next_ = chunk_.size();
            pairOpen_ = false;
            line = start;
            length = size_t(stop - start);
            return false;
        }
        char* after = stop + 1;
        pairOpen_ = false;
        if (*stop == '\r') {
            if (after == end) {
                pairOpen_ = true;
            } else if (*after == '\n') {
                ++after;
            }
        }
        next_ = size_t(after - chunk_.data());
        *stop = '\0';
        line = start;
        length = size_t(stop - start);
        return true;
    }
}

}  // namespace tollgram::obj
