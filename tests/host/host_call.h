#pragma once
// Calling an export as Kavrex does, with the whole frame, from the host
// bridge's tests.
#include <cstdint>
#include <cstring>

#include "frame/exports.h"
#include "tollgram.h"

namespace tollgram::test {

using Export = TollgramExportFunction;

inline float call(Export function, const char* text, double value = 0.0, void* context = nullptr,
                  char* buffer = nullptr, int32_t bufferSize = 0) {
    return function(text, value, buffer, bufferSize, 0xDEADBEEFu, 0xFEEDFACEu, context);
}

inline uint32_t bitsOf(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

}  // namespace tollgram::test
