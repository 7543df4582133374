#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "support/float_bits.h"
#include "frame/bounded_copy.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/outcome.h"

namespace tollgram {
namespace {

using test::bitsOf;

TEST(KeyMatching, MatchesOnlyTheWholeKeyInItsOwnCase) {
    EXPECT_TRUE(keyIs("groupCount", "groupCount"));
    EXPECT_FALSE(keyIs("GroupCount", "groupCount"));
    EXPECT_FALSE(keyIs("groupcount", "groupCount"));
    EXPECT_FALSE(keyIs("name ", "name"));
    EXPECT_FALSE(keyIs(" name", "name"));
    EXPECT_FALSE(keyIs("nam", "name"));
    EXPECT_FALSE(keyIs("names", "name"));
    EXPECT_FALSE(keyIs("", "name"));
    EXPECT_FALSE(keyIs(nullptr, "name"));
}

TEST(ValueNumbers, TruncateTowardZero) {
    EXPECT_EQ(truncToInt32(2.99), 2);
    EXPECT_EQ(truncToInt32(1.9), 1);
    EXPECT_EQ(truncToInt32(-0.7), 0);
    EXPECT_EQ(truncToInt32(-0.5), 0);
    EXPECT_EQ(truncToInt32(-1.0), -1);
    EXPECT_EQ(truncToInt32(-2.5), -2);
    EXPECT_EQ(truncToInt32(2147483647.9), 2147483647);
    EXPECT_EQ(truncToInt32(-2147483648.9), std::numeric_limits<int32_t>::min());
}

TEST(ValueNumbers, UnrepresentableValuesGiveTheIntegerIndefinite) {
    const int32_t indefinite = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(truncToInt32(std::nan("")), indefinite);
    EXPECT_EQ(truncToInt32(std::numeric_limits<double>::infinity()), indefinite);
    EXPECT_EQ(truncToInt32(-std::numeric_limits<double>::infinity()), indefinite);
    EXPECT_EQ(truncToInt32(1e300), indefinite);
    EXPECT_EQ(truncToInt32(4294967296.0), indefinite);
    EXPECT_EQ(truncToInt32(2147483648.0), indefinite);
}

TEST(ValueNumbers, NegativeNumbersSeenAsUnsignedExceedEveryCount) {
    EXPECT_EQ(truncToUint32(-1.0), 4294967295u);
    EXPECT_EQ(truncToUint32(-0.9), 0u);
    EXPECT_GT(truncToUint32(std::nan("")), 1000000u);
}

TEST(ValueNumbers, MaskValueKeepsTheLowEightBits) {
    EXPECT_EQ(lowByteOf(300.0), 44);
    EXPECT_EQ(lowByteOf(-1.0), 255);
    EXPECT_EQ(lowByteOf(0.99), 0);
    EXPECT_EQ(lowByteOf(255.7), 255);
    EXPECT_EQ(lowByteOf(256.0), 0);
}

TEST(ValueNumbers, HostFloatsTakeTheNearestFloat) {
    EXPECT_EQ(bitsOf(nearestFloat(0.1)), 0x3DCCCCCDu);  // 0.100000001
    EXPECT_EQ(nearestFloat(-2.5), -2.5f);
    EXPECT_EQ(nearestFloat(1e300), std::numeric_limits<float>::infinity());
    EXPECT_EQ(nearestFloat(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(nearestFloat(3.4028235e38), std::numeric_limits<float>::max());
    EXPECT_TRUE(std::isnan(nearestFloat(std::nan(""))));
    EXPECT_TRUE(isPositive(0.5));
    EXPECT_FALSE(isPositive(0.0));
    EXPECT_FALSE(isPositive(std::nan("")));
}

TEST(ValueNumbers, PositionsCountFromOneUpToTheCount) {
    constexpr int32_t kNone = -1;
    struct Case {
        double value;
        uint32_t count;
        int32_t number;  // kNone: no number
        int32_t index;   // kNone: no index
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {1.0, 3, 1, 0},           {3.99, 3, 3, 2},         {4.0, 3, kNone, kNone},   {0.5, 3, 0, kNone},
        {0.0, 3, kNone, kNone},   {-0.5, 3, kNone, kNone}, {-1.0, 3, kNone, kNone},  {nan, 3, kNone, kNone},
        {1e10, 3, kNone, kNone},  {1.0, 0, kNone, kNone},  {2147483647.0, 4294967295u, 2147483647, 2147483646},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " among " << c.count);
        const std::optional<uint32_t> number = numberUpTo(c.value, c.count);
        const std::optional<uint32_t> index = indexUpTo(c.value, c.count);
        EXPECT_EQ(number ? int64_t(*number) : int64_t(kNone), c.number);
        EXPECT_EQ(index ? int64_t(*index) : int64_t(kNone), c.index);
    }
}

TEST(Results, UnsignedCountsAreNeverNegative) {
    EXPECT_EQ(resultOf(counted(4294967295u), -1.0f), 4294967296.0f);
    EXPECT_GT(resultOf(counted(0x80000000u), -1.0f), 0.0f);
    EXPECT_EQ(resultOf(counted(16777216u), -1.0f), 16777216.0f);
    EXPECT_EQ(resultOf(counted(12345u), -1.0f), 12345.0f);
}

TEST(Results, EachOutcomeBecomesItsFloat) {
    struct Case { const char* name; Outcome outcome; float failureResult; float result; };
    const Case cases[] = {
        {"success", succeeded(), -1.0f, 0.0f},
        {"a signed number", numbered(-7), 0.0f, -7.0f},
        {"a copy's error number", numbered(34), -1.0f, 34.0f},
        {"a stored float", storedValue(0.1f), -1.0f, 0.1f},
        {"the export's failure, -1", failed(), -1.0f, -1.0f},
        {"the export's failure, 0", failed(), 0.0f, 0.0f},
        {"a text too long where failure is 0", failed(Failure::TextTooLong), 0.0f, -1.0f},
        {"unusable input", failed(Failure::UnusableInput), -1.0f, -2.0f},
        {"vertex counts differ", failed(Failure::VertexCountsDiffer), 0.0f, -3.0f},
    };
    for (const Case& c : cases) EXPECT_EQ(resultOf(c.outcome, c.failureResult), c.result) << c.name;
    EXPECT_TRUE(numbered(-1).succeeded());
    EXPECT_FALSE(failed(Failure::UnusableInput).succeeded());
}

// Copies into a buffer one byte larger than the capacity given, so that a
// write past the capacity would show in the guard byte.
struct Destination {
    char bytes[16];
    Destination() { std::memset(bytes, '#', sizeof bytes); }
    bool guardIntact(size_t capacity) const { return bytes[capacity] == '#'; }
};

TEST(BoundedCopy, FitsUpToCapacityMinusOne) {
    const std::string text(7, 'a');  // 7 characters and a terminator
    struct Case { size_t capacity; int expected; const char* result; };
    const Case cases[] = {
        {9, kCopyOk, "aaaaaaa"},    // capacity + 1
        {8, kCopyOk, "aaaaaaa"},    // exactly the text and its terminator
        {7, kCopyTooLong, ""},      // no room for the terminator
        {1, kCopyTooLong, ""},
    };
    for (const Case& c : cases) {
        Destination d;
        EXPECT_EQ(boundedCopy(d.bytes, c.capacity, text.c_str()), c.expected) << "capacity " << c.capacity;
        EXPECT_STREQ(d.bytes, c.result) << "capacity " << c.capacity;
        EXPECT_TRUE(d.guardIntact(c.capacity)) << "capacity " << c.capacity;
    }
}

TEST(BoundedCopy, RejectsNullAndZeroCapacity) {
    Destination d;
    EXPECT_EQ(boundedCopy(nullptr, 8, "text"), kCopyInvalid);
    EXPECT_EQ(boundedCopy(d.bytes, 0, "text"), kCopyInvalid);
    EXPECT_EQ(d.bytes[0], '#');  // zero capacity: not even a terminator written
    EXPECT_EQ(boundedCopy(d.bytes, 8, nullptr), kCopyInvalid);
    EXPECT_STREQ(d.bytes, "");
    EXPECT_EQ(boundedCopy(d.bytes, 1, ""), kCopyOk);
    EXPECT_EQ(capacityOf(-5), 0u);
    EXPECT_EQ(capacityOf(0), 0u);
    EXPECT_EQ(capacityOf(256), 256u);
}

TEST(BoundedAppend, AppendsWhileTheWholeTextFits) {
    struct Case { size_t capacity; int expected; const char* result; };
    const Case cases[] = {
        {8, kCopyOk, "C:\\m\\ab"},   // 7 characters and a terminator
        {7, kCopyTooLong, ""},
        {6, kCopyTooLong, ""},       // the destination alone fills it
    };
    for (const Case& c : cases) {
        Destination d;
        std::memcpy(d.bytes, "C:\\m\\", 6);
        EXPECT_EQ(boundedAppend(d.bytes, c.capacity, "ab"), c.expected) << "capacity " << c.capacity;
        EXPECT_STREQ(d.bytes, c.result) << "capacity " << c.capacity;
        EXPECT_TRUE(d.guardIntact(c.capacity)) << "capacity " << c.capacity;
    }
}

TEST(BoundedAppend, RejectsNullAndAnUnterminatedDestination) {
    Destination d;
    EXPECT_EQ(boundedAppend(nullptr, 8, "x"), kCopyInvalid);
    EXPECT_EQ(boundedAppend(d.bytes, 0, "x"), kCopyInvalid);
    std::memcpy(d.bytes, "abc", 4);
    EXPECT_EQ(boundedAppend(d.bytes, 8, nullptr), kCopyInvalid);
    EXPECT_STREQ(d.bytes, "");
    Destination unterminated;  // all '#': no terminator within the capacity
    EXPECT_EQ(boundedAppend(unterminated.bytes, 8, "x"), kCopyInvalid);
    EXPECT_STREQ(unterminated.bytes, "");
}

}  // namespace
}  // namespace tollgram
