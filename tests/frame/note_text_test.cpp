#include "frame/note_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tollgram {
namespace {

std::string bounded(const std::string& text) {
    NoteText note;
    boundNoteText(text, note);
    return note.text;
}

std::string numberedLines(int first, int count) {
    std::string lines;
    for (int i = first; i < first + count; ++i) lines += "line " + std::to_string(i) + "\n";
    return lines;
}

TEST(NoteText, ATextWithinTheLimitsIsShownAsItIs) {
    for (const std::string& text : {std::string(), std::string("one line"), std::string("a\nb\n"), std::string("a\n\nb"),
                                   numberedLines(1, 40), std::string(kNoteLineLength, 'x') + "\n"}) {
        EXPECT_EQ(bounded(text), text);
    }
}

TEST(NoteText, LinesBeyondTheLimitAreCountedAndLongLinesCut) {
    EXPECT_EQ(bounded(numberedLines(1, 41)), numberedLines(1, 40) + "(1 more lines)");
    EXPECT_EQ(bounded(numberedLines(1, 100) + "last, without a line feed"), numberedLines(1, 40) + "(61 more lines)");

    const std::string longLine(kNoteLineLength + 1, 'y');
    EXPECT_EQ(bounded(longLine + "\nshort\n" + longLine),
              std::string(kNoteLineLength, 'y') + "...\nshort\n" + std::string(kNoteLineLength, 'y') + "...");

    // The worst case: as many lines as shown, each far too long, and many more.
    std::string worst;
    for (int i = 0; i < 1000; ++i) worst += std::string(10000, char('a' + i % 26)) + "\n";
    const std::string shown = bounded(worst);
    EXPECT_LT(shown.size(), sizeof(NoteText::text));
    EXPECT_EQ(shown.substr(shown.size() - std::strlen("(960 more lines)")), "(960 more lines)");
    EXPECT_EQ(shown.substr(0, kNoteLineLength + 4), std::string(kNoteLineLength, 'a') + "...\n");
}

}  // namespace
}  // namespace tollgram
