#pragma once
// The diagnostics a read appends to its model's _errorText, bounded. A file
// can give one on every one of millions of lines, and a read that succeeds
// keeps its model's text as long as the model, though nothing ever shows
// more of it than the message box does (frame/note_text.h). So the model
// keeps just that: the lines the box shows, each one character past where
// the box cuts it (so that the box still marks the cut); of the rest, only
// how many lines it had.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/note_text.h"

namespace tollgram::obj {

inline constexpr size_t kKeptDiagnosticLines = kNoteLines;
inline constexpr size_t kKeptDiagnosticLineLength = kNoteLineLength + 1;

// Where the kept text stands, and what went beyond it.
struct DiagnosticBound {
    size_t linesEnded = 0;        // line feeds kept
    size_t lineLength = 0;        // characters of the last kept line
    uint64_t feedsBeyond = 0;     // line feeds past the kept lines
    bool textAfterLastFeed = false;  // beyond: text after the last of those

    // Lines past the kept ones, a last line without a line feed counting too.
    uint64_t linesBeyond() const { return feedsBeyond + (textAfterLastFeed ? 1 : 0); }
};

// Appends the pieces to text as far as the bound keeps them. Throws
// std::bad_alloc only, and then leaves text and bound as they were.
void appendDiagnostic(std::string& text, DiagnosticBound& bound, std::initializer_list<std::string_view> pieces);

// Empties both.
void clearDiagnostics(std::string& text, DiagnosticBound& bound);

}  // namespace tollgram::obj
