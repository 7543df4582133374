#pragma once
// The character classes of the OBJ and MTL readers, in one table. A line is
// read where it lies in the reader's block, so its content ends at its line
// end (a line feed or a carriage return) or at a NUL (the block's own end,
// or a NUL inside the line); white space within a line is the C locale's
// isspace without the two line ends.
#include <cstdint>

namespace tollgram::obj {

inline constexpr uint8_t kBlankClass = 1;       // ' ', \t, \v, \f
inline constexpr uint8_t kContentEndClass = 2;  // '\n', '\r' and NUL
inline constexpr uint8_t kDigitClass = 4;       // '0'..'9'

struct CharClassTable {
    uint8_t classes[256] = {};
    constexpr CharClassTable() {
        const char blanks[] = " \t\v\f";
        for (int i = 0; blanks[i] != '\0'; ++i) classes[static_cast<unsigned char>(blanks[i])] = kBlankClass;
        classes[static_cast<unsigned char>('\n')] = kContentEndClass;
        classes[static_cast<unsigned char>('\r')] = kContentEndClass;
        classes[0] = kContentEndClass;
        for (unsigned c = '0'; c <= '9'; ++c) classes[c] = kDigitClass;
    }
};
inline constexpr CharClassTable kCharClasses{};

inline uint8_t classOf(char c) { return kCharClasses.classes[static_cast<unsigned char>(c)]; }
inline bool isBlank(char c) { return classOf(c) & kBlankClass; }
inline bool isContentEnd(char c) { return classOf(c) & kContentEndClass; }
// A word or a corner ends at white space or where the line's content ends.
inline bool isWordEnd(char c) { return classOf(c) & (kBlankClass | kContentEndClass); }
inline bool isLineEnd(char c) { return c == '\n' || c == '\r'; }
inline bool isDigit(char c) { return classOf(c) & kDigitClass; }

// ASCII only, as the C runtime's tolower in its default locale.
inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline const char* skipBlanks(const char* text) {
    while (isBlank(*text)) ++text;
    return text;
}

// The end of the word at text: the next white space or the content's end.
inline const char* wordEnd(const char* text) {
    while (!isWordEnd(*text)) ++text;
    return text;
}

}  // namespace tollgram::obj
