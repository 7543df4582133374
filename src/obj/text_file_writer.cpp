#include "obj/text_file_writer.h"

#include <charconv>
#include <cstring>

#include "obj/coordinate_text.h"
#include "platform/line_end.h"

namespace tollgram::obj {

TextFileWriter::TextFileWriter(const char* path) : file_(nullptr) {
    if (path == nullptr || path[0] == '\0') return;
    // The buffer first: opening truncates, and a writer that then had no
    // memory would have emptied an existing file for nothing.
    buffer_.reset(new (std::nothrow) char[kBufferSize]);
    if (buffer_ && staged_.begin(path)) file_ = std::fopen(staged_.path(), "wb");
}

TextFileWriter::~TextFileWriter() {
    // Not closed: the writing was given up, and the staged file goes.
    if (file_ != nullptr) (void)std::fclose(file_);
}

char* TextFileWriter::reserve(size_t bytes) {
    if (kBufferSize - used_ < bytes) flush();
    return buffer_.get() + used_;
}

void TextFileWriter::flush() {
    if (used_ != 0 && std::fwrite(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
}

void TextFileWriter::text(const char* text) { this->text(text, std::strlen(text)); }

void TextFileWriter::text(const char* text, size_t length) {
    while (length > 0) {
        if (used_ == kBufferSize) flush();
        const size_t part = length < kBufferSize - used_ ? length : kBufferSize - used_;
        std::memcpy(buffer_.get() + used_, text, part);
        used_ += part;
        text += part;
        length -= part;
    }
}

void TextFileWriter::unsignedNumber(uint32_t number) {
    char* out = reserve(kLongestAppend);
    used_ = static_cast<size_t>(std::to_chars(out, out + kLongestAppend, number).ptr - buffer_.get());
}

void TextFileWriter::coordinate(float value) {
    char* out = reserve(kCoordinateTextCapacity);
    used_ += formatCoordinate(value, out);
}

void TextFileWriter::lineEnd() {
    char* out = reserve(platform::kLineEndLength);
    std::memcpy(out, platform::kLineEnd, platform::kLineEndLength);
    used_ += platform::kLineEndLength;
}

void TextFileWriter::endLine(char* end) {
    static_assert(platform::kLineEndLength <= kLineEndRoom);
    std::memcpy(end, platform::kLineEnd, platform::kLineEndLength);
    used_ = static_cast<size_t>(end - buffer_.get()) + platform::kLineEndLength;
}

bool TextFileWriter::close() {
    if (file_ == nullptr) return false;
    flush();
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_ && staged_.commit();
}

}  // namespace tollgram::obj
