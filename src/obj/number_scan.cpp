#include "obj/number_scan.h"

#include <charconv>
#include <cstddef>
#include <cstring>
#include <limits>

namespace tollgram::obj {

namespace {

// The scanners' parts are folded into each scanner: a coordinate line reads
// three numbers, and a call per part costs as much as the part.
#if defined(__GNUC__)
#define TOLLGRAM_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define TOLLGRAM_ALWAYS_INLINE inline
#endif

constexpr uint64_t kMaxExactDouble = uint64_t{1} << 53;

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;

constexpr uint64_t kMaxExactFloat = uint64_t{1} << 24;
constexpr float kFloatPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr int kMaxExactFloatPower = 10;  // 5^10 < 2^24

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool startsWithWord(const char* text, const char* word) {
    for (; *word; ++text, ++word) {
        if (lower(*text) != *word) return false;
    }
    return true;
}

// The decimal part of a number: where its digits are and what they mean.
struct Decimal {
    const char* end = nullptr;  // null: no number
    bool negative = false;
    uint64_t mantissa = 0;      // the leading digits, as many as fit below kMantissaLimit
    int64_t exponent = 0;       // value = mantissa * 10^exponent, unless truncated
    bool truncated = false;     // a nonzero digit did not fit in the mantissa
};

// Beyond this a further digit could overflow 64 bits.
constexpr uint64_t kMantissaLimit = 1000000000000000000ull;  // 10^18

inline unsigned digitOf(char c) { return unsigned(static_cast<unsigned char>(c)) - unsigned('0'); }

// An exponent part ("e" or "E", optional sign, digits) at p, added to scale;
// returns its end, or p when there is none (an "e" without digits is not
// part of the number).
TOLLGRAM_ALWAYS_INLINE const char* scanExponent(const char* p, int64_t& scale) {
    if (*p != 'e' && *p != 'E') return p;
    bool negative = false;
    const char* q = skipSign(p + 1, negative);
    unsigned digit;
    if (digitOf(*q) > 9) return p;
    int64_t exponent = 0;
    for (; (digit = digitOf(*q)) <= 9; ++q) {
        if (exponent < 100000) exponent = exponent * 10 + digit;
    }
    scale += negative ? -exponent : exponent;
    return q;
}

// Digits of any number, the first 18 significant ones kept.
Decimal scanLongDecimal(const char* text) {
    Decimal d;
    const char* p = text;
    p = skipSign(p, d.negative);
    // The digits are gathered in locals: the record is passed on by address,
    // and accumulating in it would store and reload the mantissa per digit.
    uint64_t mantissa = 0;
    bool truncated = false;
    // Leading zeros only multiply zero, so they need no special case.
    const char* digitsStart = p;
    int64_t scale = 0;  // power of ten of the digits that did not fit or came after the point
    unsigned digit;
    for (; (digit = digitOf(*p)) <= 9; ++p) {
        if (mantissa < kMantissaLimit) {
            mantissa = mantissa * 10 + digit;
        } else {
            ++scale;
            truncated |= digit != 0;
        }
    }
    bool anyDigit = p != digitsStart;
    if (*p == '.') {
        const char* fractionStart = ++p;
        for (; (digit = digitOf(*p)) <= 9; ++p) {
            if (mantissa < kMantissaLimit) {
                mantissa = mantissa * 10 + digit;
                --scale;
            } else {
                truncated |= digit != 0;
            }
        }
        anyDigit |= p != fractionStart;
    }
    if (!anyDigit) return d;
    p = scanExponent(p, scale);
    d.end = p;
    d.mantissa = mantissa;
    d.truncated = truncated;
    d.exponent = scale;
    return d;
}

// Digits as coordinates are written, at most 18 in all: no digit can
// overflow the mantissa, so the loops need no check per digit. Longer runs
// are read again by scanLongDecimal.
TOLLGRAM_ALWAYS_INLINE Decimal scanDecimal(const char* text) {
    Decimal d;
    const char* p = text;
    p = skipSign(p, d.negative);
    uint64_t mantissa = 0;
    unsigned digit;
    const char* digitsStart = p;
    for (; (digit = digitOf(*p)) <= 9; ++p) mantissa = mantissa * 10 + digit;
    ptrdiff_t digits = p - digitsStart;
    int64_t scale = 0;
    if (*p == '.') {
        const char* fractionStart = ++p;
        for (; (digit = digitOf(*p)) <= 9; ++p) mantissa = mantissa * 10 + digit;
        scale = fractionStart - p;
        digits -= scale;
    }
    if (digits > 18) return scanLongDecimal(text);
    if (digits == 0) return d;
    p = scanExponent(p, scale);
    d.end = p;
    d.mantissa = mantissa;
    d.exponent = scale;
    return d;
}

// Exact when the mantissa and the power of ten are exact doubles: one
// correctly rounded operation (Clinger's fast path).
TOLLGRAM_ALWAYS_INLINE bool fastDouble(const Decimal& d, double& value) {
    if (d.truncated || d.mantissa > kMaxExactDouble) return false;
    if (d.exponent < -kMaxExactPower || d.exponent > kMaxExactPower) return false;
    const double m = double(d.mantissa);
    value = d.exponent >= 0 ? m * kPowersOfTen[d.exponent] : m / kPowersOfTen[-d.exponent];
    return true;
}

// Rounding the correctly rounded double to float again gives the correctly
// rounded float unless the double fell exactly on a midpoint between two
// floats (no float midpoint lies strictly between the exact value and its
// nearest double, since every float midpoint is itself a double).
TOLLGRAM_ALWAYS_INLINE bool fastFloat(const Decimal& d, float& value) {
    // Most coordinates have at most 7 or 8 digits: one float operation on two
    // exact floats, correctly rounded by itself.
    if (!d.truncated && d.mantissa <= kMaxExactFloat && d.exponent >= -kMaxExactFloatPower &&
        d.exponent <= kMaxExactFloatPower) {
        const float m = float(d.mantissa);
        value = d.exponent >= 0 ? m * kFloatPowersOfTen[d.exponent] : m / kFloatPowersOfTen[-d.exponent];
        return true;
    }
    double result;
    if (!fastDouble(d, result)) return false;
    if (result == 0.0) {
        value = 0.0f;
        return true;
    }
    if (result < double(std::numeric_limits<float>::min()) || result >= double(std::numeric_limits<float>::max())) {
        return false;  // subnormal or overflowing floats round differently
    }
    uint64_t bits;
    std::memcpy(&bits, &result, sizeof bits);
    constexpr uint64_t kBelowFloat = (uint64_t{1} << 29) - 1;  // double bits a float drops
    if ((bits & kBelowFloat) == (uint64_t{1} << 28)) return false;
    value = float(result);
    return true;
}

// The digits without a leading "+", which from_chars does not take.
template <typename T>
void slowConvert(const char* text, const Decimal& d, T& value) {
    const char* begin = *text == '+' ? text + 1 : text;
    const auto result = std::from_chars(begin, d.end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small: infinity or zero, by the leading digit's place.
        int64_t magnitude = d.exponent;
        for (uint64_t m = d.mantissa; m > 0; m /= 10) ++magnitude;
        value = magnitude > 0 ? std::numeric_limits<T>::infinity() : T(0);
        if (d.negative) value = -value;
    }
}

const char* scanSpecial(const char* text, float& value) {
    bool negative = false;
    const char* p = skipSign(text, negative);
    if (startsWithWord(p, "inf")) {
        p += startsWithWord(p, "infinity") ? 8 : 3;
        value = negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
        return p;
    }
    if (startsWithWord(p, "nan")) {
        p += 3;
        if (*p == '(') {
            const char* q = p + 1;
            while (isDigit(*q) || (lower(*q) >= 'a' && lower(*q) <= 'z') || *q == '_') ++q;
            if (*q == ')') p = q + 1;
        }
        value = negative ? -std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::quiet_NaN();
        return p;
    }
    return nullptr;
}

}  // namespace

namespace {
TOLLGRAM_ALWAYS_INLINE const char* scanOneFloat(const char* text, float& value) {
    const Decimal d = scanDecimal(text);
    if (!d.end) return scanSpecial(text, value);
    float result;
    if (fastFloat(d, result)) {
        value = d.negative ? -result : result;
    } else {
        value = 0.0f;
        slowConvert(text, d, value);  // signed by from_chars itself
    }
    return d.end;
}
}  // namespace

const char* scanFloat(const char* text, float& value) { return scanOneFloat(text, value); }

int scanFloats(const char* text, float* values, int count) {
    int found = 0;
    const char* p = text;
    while (found < count) {
        p = skipBlanks(p);
        const char* end = scanOneFloat(p, values[found]);
        if (!end) break;
        ++found;
        p = end;
    }
    return found;
}

const char* scanLineFloats(const char* text, float* values, int count) {
    const char* p = text;
    for (int i = 0; i < count; ++i) {
        const char* start = p;
        while (*start == ' ' || *start == '\t') ++start;
        const char* end = scanOneFloat(start, values[i]);
        if (!end) break;
        p = end;
    }
    return p;
}

const char* scanDouble(const char* text, double& value) {
    const Decimal d = scanDecimal(text);
    if (!d.end) return nullptr;
    double result;
    if (fastDouble(d, result)) {
        value = d.negative ? -result : result;
    } else {
        value = 0.0;
        slowConvert(text, d, value);
    }
    return d.end;
}

const char* scanLongInteger(const char* text, int32_t& value) {
    bool negative = false;
    const char* p = skipSign(text, negative);
    if (!isDigit(*p)) return nullptr;
    constexpr int64_t kSaturated = int64_t{1} << 32;
    int64_t magnitude = 0;
    for (; isDigit(*p); ++p) {
        if (magnitude < kSaturated) magnitude = magnitude * 10 + (*p - '0');
    }
    value = saturatedInt32(negative ? -magnitude : magnitude);
    return p;
}

const char* scanUnsigned(const char* text, uint32_t& value) {
    bool negative = false;
    const char* p = skipSign(text, negative);
    if (!isDigit(*p)) return nullptr;
    uint64_t magnitude = 0;
    bool overflow = false;
    for (; isDigit(*p); ++p) {
        magnitude = magnitude * 10 + uint64_t(*p - '0');
        if (magnitude > std::numeric_limits<uint32_t>::max()) {
            overflow = true;
            magnitude = std::numeric_limits<uint32_t>::max();
        }
    }
    if (overflow) {
        value = std::numeric_limits<uint32_t>::max();
    } else {
        value = negative ? uint32_t(0u - uint32_t(magnitude)) : uint32_t(magnitude);
    }
    return p;
}

}  // namespace tollgram::obj
