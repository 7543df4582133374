#pragma once
// How a script's words name an interface item: the words spell a prefix of
// one of the item's names, blanks not counting on either side. Letters are
// compared exactly.
#include <string_view>

namespace tollgram::host {

// Space, the control characters and every byte from 128 up: the bytes that
// are 32 or less read as signed 8-bit numbers, the terminator excepted.
inline bool isBlank(char byte) { return byte != '\0' && static_cast<signed char>(byte) <= 32; }

// Empty words match every candidate.
bool wordsMatch(std::string_view candidate, const char* words);

// A name record takes part in matching only when its length field is 4 or
// more; a null record never matches.
bool nameRecordMatches(const void* nameRecord, const char* words);

}  // namespace tollgram::host
