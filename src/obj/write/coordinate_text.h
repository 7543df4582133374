#pragma once
// Coordinates as the OBJ writer puts them in a file: the text of C's "%#g"
// (six significant digits, trailing zeros and the decimal point kept,
// exponent form below 1e-4 and from 1e6, at least two exponent digits), made
// without printf so that writing millions of vertices stays cheap.
#include <cstddef>

namespace tollgram::obj {

// Longest text: "-1.17549e-38" and the like; "-0.000100000" is 12.
inline constexpr size_t kCoordinateTextCapacity = 16;

// Writes the text of value into out (no terminator) and returns its length.
// out must have room for kCoordinateTextCapacity bytes: all of them may be
// used on the way, whatever the length of the text.
size_t formatCoordinate(float value, char* out);

}  // namespace tollgram::obj
