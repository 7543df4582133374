#pragma once
// Number scanning for the OBJ and MTL readers, without the runtime's scanf or
// streams (too slow for files of millions of lines) but with their syntax and
// results. Every scanner starts exactly at text (no white space skipped) and
// returns the end of the number it read, or null when text does not begin
// with one (the value is then left alone). [text, end] must be readable and
// *end must not belong to a number (the readers' blocks end with a NUL).
//
// Float syntax, as the runtime's "%f": optional sign, then digits with an
// optional "." and fraction (at least one digit in all), then an optional
// exponent ("e" or "E", optional sign, digits; an "e" without digits is not
// part of the number); or, after the optional sign, "inf", "infinity", "nan"
// or "nan(" letters, digits and "_" ")", in any case. Hexadecimal floats are
// not accepted: "0x1p3" reads as 0, as the Windows runtime reads it. Results
// are correctly rounded; out of range gives infinity or zero, as strtof.
#include <cstdint>

#include "obj/read/text_classes.h"

namespace tollgram::obj {

// "%f %f %f": up to count numbers, each after optional white space within
// the line; stops at the first that can't be read. Returns where the scan
// stopped (after the last number read, or at text when none was); values
// beyond those read are left alone.
const char* scanFloats(const char* text, const char* end, float* values, int count);

// One double in the syntax of a stream's extraction: the float syntax above
// without the special words.
const char* scanDouble(const char* text, const char* end, double& value);

// Past an optional "+" or "-"; negative tells which.
inline const char* skipSign(const char* p, bool& negative) {
    negative = *p == '-';
    return (*p == '-' || *p == '+') ? p + 1 : p;
}

inline unsigned digitOf(char c) { return unsigned(static_cast<unsigned char>(c)) - unsigned('0'); }

inline int32_t saturatedInt32(int64_t value) {
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : int32_t(value);
}

// scanInteger's reading of a digit run longer than ten.
const char* scanLongInteger(const char* text, int32_t& value);

// An optionally signed decimal integer, saturated to the int32 range.
// Inline: a face line reads a dozen of them.
inline const char* scanInteger(const char* text, int32_t& value) {
    bool negative = false;
    const char* p = skipSign(text, negative);
    const char* digits = p;
    unsigned digit = digitOf(*p);
    if (digit > 9) return nullptr;
    // Up to ten digits fit in 64 bits without a check per digit; longer runs
    // (saturated, or led by zeros) are read again with one.
    uint64_t magnitude = digit;  // unsigned: a long run wraps harmlessly before it is read again
    while ((digit = digitOf(*++p)) <= 9) magnitude = magnitude * 10 + digit;
    if (p - digits > 10) return scanLongInteger(text, value);
    value = saturatedInt32(negative ? -int64_t(magnitude) : int64_t(magnitude));
    return p;
}

// An unsigned decimal number as "%u" reads it: a leading "-" negates modulo
// 2^32, and a magnitude beyond 32 bits gives 4294967295.
const char* scanUnsigned(const char* text, uint32_t& value);

}  // namespace tollgram::obj
