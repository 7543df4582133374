#include "obj/read/line_count.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "obj/read/line_parser.h"

namespace tollgram::obj {

namespace {

// The line that starts at p (a NUL follows the text, so p[1] can be read).
// Letters are matched in either case: 'V' | 0x20 is 'v', and no other
// character gives 'v' or 'f' so.
inline void countLine(const char* p, LineCounts& counts) {
    const char first = char(*p | 0x20);
    if (first == 'v') {
        ++counts.coordinates[coordinatesOf(p[1])];
    } else if (first == 'f') {
        ++counts.faceLines;
    }
}

}  // namespace

LineCounts countLines(const char* text, const char* end) {
    LineCounts counts;
    if (text >= end) return counts;
    countLine(text, counts);
    // Every character after a line feed or a carriage return starts a line
    // as the parser reads it; the line feed of a CR LF pair starts an empty
    // one, which counts as nothing.
    const char* p = text;
#ifdef __SSE2__
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        unsigned ends = unsigned(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn))));
        while (ends != 0) {
            const char* next = p + __builtin_ctz(ends) + 1;
            if (next < end) countLine(next, counts);
            ends &= ends - 1;
        }
    }
#endif
    for (; p < end; ++p) {
        if (isLineEnd(*p) && p + 1 < end) countLine(p + 1, counts);
    }
    return counts;
}

}  // namespace tollgram::obj
