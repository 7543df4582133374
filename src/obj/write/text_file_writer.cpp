#include "obj/write/text_file_writer.h"

#include <charconv>
#include <cstring>

#include "platform/line_end.h"

namespace tollgram::obj {

char* TextFileWriter::reserve(size_t bytes) {
    if (kBufferSize - used_ < bytes) flush();
    return buffer_ + used_;
}

void TextFileWriter::flush() {
    // After a short write the file is given up: the sink takes no more.
    if (used_ != 0) (void)file_.write(buffer_, used_);
    used_ = 0;
}

void TextFileWriter::text(const char* text) { this->text(text, std::strlen(text)); }

void TextFileWriter::text(const char* text, size_t length) {
    while (length > 0) {
        if (used_ == kBufferSize) flush();
        const size_t part = length < kBufferSize - used_ ? length : kBufferSize - used_;
        std::memcpy(buffer_ + used_, text, part);
        used_ += part;
        text += part;
        length -= part;
    }
}

void TextFileWriter::unsignedNumber(uint32_t number) {
    char* out = reserve(kLongestAppend);
    used_ = static_cast<size_t>(std::to_chars(out, out + kLongestAppend, number).ptr - buffer_);
}

void TextFileWriter::lineEnd() {
    char* out = reserve(platform::kLineEndLength);
    std::memcpy(out, platform::kLineEnd, platform::kLineEndLength);
    used_ += platform::kLineEndLength;
}

void TextFileWriter::endLine(char* end) {
    static_assert(platform::kLineEndLength <= kLineEndRoom);
    std::memcpy(end, platform::kLineEnd, platform::kLineEndLength);
    used_ = static_cast<size_t>(end - buffer_) + platform::kLineEndLength;
}

}  // namespace tollgram::obj
