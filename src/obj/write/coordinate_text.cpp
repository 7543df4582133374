#include "obj/write/coordinate_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace tollgram::obj {

namespace {

constexpr int kSignificantDigits = 6;
// Values from 1e-5 may round up into the fixed form, which starts at 1e-4.
constexpr int kLowestFixedTry = -5;

constexpr uint64_t kPowersOfTen[] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull,
    100000000ull, 1000000000ull, 10000000000ull,
};

size_t copyText(char* out, const char* text) {
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length);  // NOLINT(bugprone-not-null-terminated-result): callers take the length, not a terminator
    return length;
}

// mantissa × 10^k / 2^shift rounded to nearest, ties to even: the exact
// decimal rounding printf does. mantissa < 2^24 and k <= 10 keep the product
// below 2^58; shift is 1 to 63 in the fixed-notation range.
uint64_t scaleAndRound(uint64_t mantissa, int k, int shift) {
    const uint64_t product = mantissa * kPowersOfTen[k];
    const uint64_t quotient = product >> shift;
    const uint64_t remainder = product & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1u))) return quotient + 1;
    return quotient;
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Six digits of q (100000 <= q < 1000000) with the point placed for
// decimal exponent x, -4 <= x <= 5. Every copy has a fixed size, so none is
// a call: out is used as scratch up to kCoordinateTextCapacity bytes.
size_t writeFixed(uint32_t q, int x, char* out) {
    char digits[kCoordinateTextCapacity] = {};
    const size_t high = q / 10000, low = q % 10000;
    std::memcpy(digits, kDigitPairs + 2 * high, 2);
    std::memcpy(digits + 2, kDigitPairs + 2 * (low / 100), 2);
    std::memcpy(digits + 4, kDigitPairs + 2 * (low % 100), 2);
    if (x >= 0) {
        // "ddd.ddd": all six digits, then the fraction moved one place on.
        const size_t integerDigits = static_cast<size_t>(x) + 1;
        std::memcpy(out, digits, 8);
        std::memcpy(out + integerDigits + 1, digits + integerDigits, 8);
        out[integerDigits] = '.';
        return kSignificantDigits + 1;
    }
    // "0.000dddddd": the leading zeros, then the digits over the ones not needed.
    const size_t zeros = static_cast<size_t>(-x) - 1;
    std::memcpy(out, "0.000000", 8);  // NOLINT(bugprone-not-null-terminated-result): a text without terminator, by length
    std::memcpy(out + 2 + zeros, digits, 8);
    return 2 + zeros + kSignificantDigits;
}

}  // namespace

size_t formatCoordinate(float value, char* out) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 31) != 0;
    const uint32_t biasedExponent = (bits >> 23) & 0xFFu;
    const uint32_t fraction = bits & 0x7FFFFFu;

    size_t n = 0;
    if (negative) out[n++] = '-';
    if (biasedExponent == 0xFF) return n + copyText(out + n, fraction ? "nan" : "inf");
    if (biasedExponent == 0 && fraction == 0) return n + copyText(out + n, "0.00000");

    const float magnitude = negative ? -value : value;
    // The fixed form covers decimal exponents -4 to 5 after rounding; values
    // from 1e-5 are tried, since rounding may lift them to 1e-4.
    if (magnitude >= 1e-5f && magnitude < 1e6f) {
        const uint64_t mantissa = fraction | (uint64_t{1} << 23);  // normal: 1e-5 is far above the denormals
        const int shift = 150 - static_cast<int>(biasedExponent);     // value = mantissa / 2^shift
        // floor(log10(2^e)) for the binary exponent e: the decimal exponent
        // or one below it, which the rounded digits then tell.
        const int binaryExponent = static_cast<int>(biasedExponent) - 127;
        int x = std::max(kLowestFixedTry, (binaryExponent * 1233) >> 12);
        for (int attempt = 0; attempt < 3; ++attempt) {
            const int k = kSignificantDigits - 1 - x;
            if (k < 0 || k > 10) break;
            const uint64_t q = scaleAndRound(mantissa, k, shift);
            if (q >= kPowersOfTen[kSignificantDigits]) {
                ++x;  // rounding carried into the next decade
                continue;
            }
            if (q < kPowersOfTen[kSignificantDigits - 1]) {
                --x;  // the guess was a decade too high
                continue;
            }
            if (x < -4 || x >= kSignificantDigits) break;  // exponent form after all
            return n + writeFixed(static_cast<uint32_t>(q), x, out + n);
        }
    }
    // Exponent form: exact decimal rounding of the float's own value.
    const auto result = std::to_chars(out + n, out + kCoordinateTextCapacity, static_cast<double>(magnitude),
                                      std::chars_format::scientific, kSignificantDigits - 1);
    return static_cast<size_t>(result.ptr - out);
}

}  // namespace tollgram::obj
