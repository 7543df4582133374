#pragma once
// Keys match byte for byte, terminator included: case-sensitive, no prefix
// match, no trimming. A null text matches nothing.
#include <cstring>

namespace tollgram {

inline bool keyIs(const char* text, const char* key) {
    return text != nullptr && std::strcmp(text, key) == 0;
}

}  // namespace tollgram
