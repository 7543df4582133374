#include "frame/note_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace tollgram {

namespace {

class NoteWriter {
public:
    explicit NoteWriter(NoteText& note) : note_(note) {}
    void put(std::string_view part) {
        const size_t room = sizeof note_.text - 1 - used_;
        const size_t taken = std::min(part.size(), room);
        std::memcpy(note_.text + used_, part.data(), taken);
        used_ += taken;
    }
    void end() { note_.text[used_] = '\0'; }

private:
    NoteText& note_;
    size_t used_ = 0;
};

// Lines in text, a last line without a line feed counting too.
size_t lineCount(std::string_view text) {
    if (text.empty()) return 0;
    const auto feeds = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    return feeds + (text.back() == '\n' ? 0 : 1);
}

}  // namespace

void boundNoteText(std::string_view text, NoteText& note, uint64_t linesBeyond) {
    NoteWriter out(note);
    size_t at = 0;
    for (size_t shown = 0; shown < kNoteLines && at < text.size(); ++shown) {
        const size_t feed = text.find('\n', at);
        const size_t end = feed == std::string_view::npos ? text.size() : feed;
        const std::string_view line = text.substr(at, end - at);
        if (line.size() > kNoteLineLength) {
            out.put(line.substr(0, kNoteLineLength));
            out.put(kCutLineEnd);
        } else {
            out.put(line);
        }
        if (feed != std::string_view::npos) out.put("\n");
        at = feed == std::string_view::npos ? text.size() : feed + 1;
    }
    if (at < text.size() || linesBeyond > 0) {
        char number[24];
        const auto written = std::to_chars(number, number + sizeof number, lineCount(text.substr(at)) + linesBeyond);
        out.put("(");
        out.put(std::string_view(number, size_t(written.ptr - number)));
        out.put(" more lines)");
    }
    out.end();
}

}  // namespace tollgram
