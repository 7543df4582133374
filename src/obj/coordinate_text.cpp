#include "obj/coordinate_text.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace tollgram::obj {

namespace {

constexpr int kSignificantDigits = 6;

constexpr uint64_t kPowersOfTen[] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull,
    100000000ull, 1000000000ull, 10000000000ull,
};

// Decimal exponents -5 to 6 as doubles, for a first guess of a value's
// exponent; the guess is checked against the rounded digits afterwards.
constexpr double kDecades[] = {1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
constexpr int kFirstDecade = -5;

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

// Six digits of q (100000 <= q < 1000000) with the point placed for
// decimal exponent x, -4 <= x <= 5.
size_t writeFixed(uint64_t q, int x, char* out) {
    char digits[kSignificantDigits];
    for (int i = kSignificantDigits - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + q % 10);
        q /= 10;
    }
    size_t n = 0;
    if (x >= 0) {
        const int integerDigits = x + 1;
        std::memcpy(out, digits, static_cast<size_t>(integerDigits));
        n = static_cast<size_t>(integerDigits);
        out[n++] = '.';
        const size_t fraction = static_cast<size_t>(kSignificantDigits - integerDigits);
        std::memcpy(out + n, digits + integerDigits, fraction);
        return n + fraction;
    }
    out[n++] = '0';
    out[n++] = '.';
    for (int i = 0; i < -x - 1; ++i) out[n++] = '0';
    std::memcpy(out + n, digits, kSignificantDigits);
    return n + kSignificantDigits;
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
        int x = kFirstDecade;
        while (x < 5 && static_cast<double>(magnitude) >= kDecades[x + 1 - kFirstDecade]) ++x;
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
            return n + writeFixed(q, x, out + n);
        }
    }
    // Exponent form: exact decimal rounding of the float's own value.
    const auto result = std::to_chars(out + n, out + kCoordinateTextCapacity, static_cast<double>(magnitude),
                                      std::chars_format::scientific, kSignificantDigits - 1);
    return static_cast<size_t>(result.ptr - out);
}

}  // namespace tollgram::obj
