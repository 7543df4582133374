#pragma once
// A float's bit pattern, for checking results bit for bit.
#include <cstdint>
#include <cstring>

namespace tollgram::test {

inline uint32_t bitsOf(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

}  // namespace tollgram::test
