#pragma once
// What of a long text reaches a message box. A read can collect diagnostics
// without end (one per bad line, each quoting its line); a box shows the
// first lines, each cut to a readable length, and says how many more there
// were. Built in place, without the heap: the box may follow a failure for
// want of memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tollgram {

inline constexpr size_t kNoteLineLength = 300;  // characters of a line shown
inline constexpr size_t kNoteLines = 40;        // lines shown
inline constexpr const char* kCutLineEnd = "...";

struct NoteText {
    // Every shown line with its cut mark and line feed, the closing line and
    // the terminator.
    char text[kNoteLines * (kNoteLineLength + 4) + 64];
};

// Lines are separated by line feeds. A text within both limits is copied
// unchanged; otherwise lines beyond kNoteLines give way to a last line
// "(N more lines)", and a longer line keeps its first kNoteLineLength
// characters followed by "...". linesBeyond counts lines that followed the
// text but were not kept with it.
void boundNoteText(std::string_view text, NoteText& note, uint64_t linesBeyond = 0);

}  // namespace tollgram
