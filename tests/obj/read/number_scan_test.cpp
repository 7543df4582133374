#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "obj/read/number_scan.h"

namespace tollgram::obj {
namespace {

uint32_t bitsOf(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

constexpr float kInf = std::numeric_limits<float>::infinity();

// The scanners on a whole NUL-terminated text, as the readers call them on
// a line in its block: one float as the coordinate reader scans it (null
// when none was read).
const char* scanFloat(const char* text, float& value) {
    const char* end = scanFloats(text, text + std::strlen(text), &value, 1);
    return end == text ? nullptr : end;
}
const char* scanDouble(const char* text, double& value) {
    return obj::scanDouble(text, text + std::strlen(text), value);
}

// Each case: the text, the length scanned (-1: no number) and the value.
template <typename Cases, typename Value>
void expectScans(const Cases& cases, const char* (*scan)(const char*, Value&)) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Value value = 42;
        const char* end = scan(c.text, value);
        if (c.length < 0) {
            EXPECT_EQ(end, nullptr);
        } else {
            ASSERT_NE(end, nullptr);
            EXPECT_EQ(end - c.text, c.length);
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST(ScanFloat, ReadsTheSyntaxOfTheRuntimesFloatScan) {
    struct Case {
        const char* text;
        int length;  // -1: not a number
        float value;
    };
    const Case cases[] = {
        {"1.5", 3, 1.5f},
        {"-0.25", 5, -0.25f},
        {"+.5", 3, 0.5f},
        {"5.", 2, 5.0f},
        {"007", 3, 7.0f},
        {"-0", 2, -0.0f},
        {"0.000", 5, 0.0f},
        {"1e5", 3, 1e5f},
        {"1E-2x", 4, 0.01f},
        {"2.5e+3 ", 6, 2500.0f},
        {"1e", 1, 1.0f},
        {"1e+", 1, 1.0f},
        {"12abc", 2, 12.0f},
        {"3/4", 1, 3.0f},
        {"0x1p3", 1, 0.0f},
        {"inf", 3, kInf},
        {"-Infinity", 9, -kInf},
        {"INFIN", 3, kInf},
        {"1e39", 4, kInf},
        {"-1e39", 5, -kInf},
        {"1e-50", 5, 0.0f},
        {"1.4e-45", 7, std::numeric_limits<float>::denorm_min()},
        {"1.17549435e-38", 14, std::numeric_limits<float>::min()},
        {"3.4028235e38", 12, std::numeric_limits<float>::max()},
        {"0.1000000000000000000000000001", 30, 0.1f},
        {"123456789012345678901234567890", 30, 1.23456789e29f},
        {"0.000000000000000000000000000000000000000000001e45", 50, 1.0f},
        {"16777217", 8, 16777216.0f},  // halfway: ties to even
        {"16777219", 8, 16777220.0f},
        {"16777217.000000001", 18, 16777218.0f},
        {".", -1, 0},
        {"-", -1, 0},
        {"+", -1, 0},
        {"e5", -1, 0},
        {"", -1, 0},
        {" 1", 2, 1.0f},  // white space before a number is skipped on coordinate lines
        {"in", -1, 0},
        {"x1", -1, 0},
        {"-.e1", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        float value = 42.0f;
        const char* end = scanFloat(c.text, value);
        if (c.length < 0) {
            EXPECT_EQ(end, nullptr);
            EXPECT_EQ(value, 42.0f);
            continue;
        }
        ASSERT_NE(end, nullptr);
        EXPECT_EQ(end - c.text, c.length);
        EXPECT_EQ(bitsOf(value), bitsOf(c.value)) << value << " instead of " << c.value;
    }
}

TEST(ScanFloat, ReadsNotANumberInItsForms) {
    struct Case {
        const char* text;
        int length;
        bool negative;
    };
    for (const Case& c : {Case{"nan", 3, false}, Case{"NaN(123_ab)", 11, false}, Case{"-nan(12", 4, true},
                          Case{"+NAN()x", 6, false}}) {
        SCOPED_TRACE(c.text);
        float value = 0.0f;
        const char* end = scanFloat(c.text, value);
        ASSERT_NE(end, nullptr);
        EXPECT_EQ(end - c.text, c.length);
        EXPECT_TRUE(std::isnan(value));
        EXPECT_EQ(std::signbit(value), c.negative);
    }
}

// The scanner against the runtime's own conversion, on numbers made to sit
// close to the rounding boundaries of float.
TEST(ScanFloat, RoundsAsTheRuntimeDoes) {
    std::mt19937_64 random(20261208);
    int checked = 0;
    auto check = [&](const std::string& text) {
        float expected = std::strtof(text.c_str(), nullptr);
        float value = 0.0f;
        const char* end = scanFloat(text.c_str(), value);
        ASSERT_EQ(end, text.c_str() + text.size()) << text;
        ASSERT_EQ(bitsOf(value), bitsOf(expected)) << text;
        ++checked;
    };
    for (int i = 0; i < 20000; ++i) {
        // Random decimals of 1 to 20 digits with the point anywhere.
        const int digits = 1 + int(random() % 20);
        std::string text = random() % 2 ? "-" : "";
        for (int d = 0; d < digits; ++d) text += char('0' + random() % 10);
        const size_t fractionDigits = size_t(random() % uint64_t(digits + 1));
        text.insert(text.size() - fractionDigits, 1, '.');
        if (text.back() == '.' && text.size() == 1) text += '0';
        if (random() % 3 == 0) {
            // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on
            // `"e" + temporary` once the insert is inlined.
            text += 'e';
            text += std::to_string(int(random() % 90) - 50);
        }
        check(text);
    }
    for (int i = 0; i < 20000; ++i) {
        // Near midpoints between neighbouring floats: the shortest text of the
        // double just below, at and just above the midpoint.
        uint32_t bits = uint32_t(random() % 0x7F000000u) + 0x00800000u;
        float low;
        std::memcpy(&low, &bits, sizeof low);
        const double high = double(std::nextafter(low, kInf));
        const double mid = (double(low) + high) / 2;
        for (double near : {std::nextafter(mid, 0.0), mid, std::nextafter(mid, 1e300)}) {
            char text[64];
            const auto result = std::to_chars(text, text + sizeof text - 1, near);
            *result.ptr = '\0';
            check(text);
        }
    }
    EXPECT_EQ(checked, 80000);
}

TEST(ScanFloats, ReadsLikeTheThreeFloatFormat) {
    struct Case {
        const char* text;
        int stop;  // where the scan ends
        float values[3];
    };
    const Case cases[] = {
        {"1 2 3", 5, {1, 2, 3}},
        {" \t1   2\t3 4", 9, {1, 2, 3}},
        {"1-2-3", 5, {1, -2, -3}},
        {"1,2,3", 1, {1, 9, 9}},
        {"0.5 0.25", 8, {0.5f, 0.25f, 9}},
        {"", 0, {9, 9, 9}},
        {"p 1 2", 0, {9, 9, 9}},
        {"1 x 3", 1, {1, 9, 9}},
        {"1\v2\f3", 5, {1, 2, 3}},
        {"1\n2 3", 1, {1, 9, 9}},  // a line feed ends the line
        {"1 2\r3", 3, {1, 2, 9}},  // and so does a carriage return
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        float values[3] = {9, 9, 9};
        const char* end = c.text + std::strlen(c.text);
        EXPECT_EQ(scanFloats(c.text, end, values, 3) - c.text, c.stop);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(values[i], c.values[i]) << "value " << i;
    }
}

TEST(ScanDouble, ReadsDecimalsOnly) {
    struct Case {
        const char* text;
        int length;
        double value;
    };
    const Case cases[] = {
        {"0.25", 4, 0.25},  {"-1e3", 4, -1000.0}, {"+2", 2, 2.0},   {"0.1", 3, 0.1},
        {"1e400", 5, std::numeric_limits<double>::infinity()},      {"7.5x", 3, 7.5},
        {"inf", -1, 0},     {"nan", -1, 0},       {".", -1, 0},     {"", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double value = 42.0;
        const char* end = scanDouble(c.text, value);
        if (c.length < 0) {
            EXPECT_EQ(end, nullptr);
            EXPECT_EQ(value, 42.0);
        } else {
            ASSERT_NE(end, nullptr);
            EXPECT_EQ(end - c.text, c.length);
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST(ScanIntegers, SaturateAndStopAtTheFirstNonDigit) {
    struct Case {
        const char* text;
        int length;
        int32_t value;
    };
    const Case integers[] = {
        {"12", 2, 12},
        {"-3/", 2, -3},
        {"+7", 2, 7},
        {"2147483647", 10, 2147483647},
        {"99999999999999999999", 20, std::numeric_limits<int32_t>::max()},
        {"-99999999999", 12, std::numeric_limits<int32_t>::min()},
        {"9999999999", 10, std::numeric_limits<int32_t>::max()},
        {"-2147483649", 11, std::numeric_limits<int32_t>::min()},
        {"000000000042/", 12, 42},
        {"-0000000000000000000000000007", 29, -7},
        {"x", -1, 0},
        {"-", -1, 0},
        {"/2", -1, 0},
    };
    expectScans(integers, scanInteger);
    struct UnsignedCase {
        const char* text;
        int length;
        uint32_t value;
    };
    const UnsignedCase unsignedCases[] = {
        {"3", 1, 3},
        {"-1", 2, 4294967295u},
        {"-5x", 2, 4294967291u},
        {"4294967295", 10, 4294967295u},
        {"4294967296", 10, 4294967295u},
        {"12abc", 2, 12},
        {"off", -1, 0},
    };
    expectScans(unsignedCases, scanUnsigned);
}

}  // namespace
}  // namespace tollgram::obj
