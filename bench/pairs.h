#pragma once
// Two readers timed in pairs: in every round each runs once, right after
// the other, the first of the pair changing from round to round, so that
// whatever slows the machine for a while slows both. Reported: each one's
// median with its range, and the ratio of the medians with the spread of
// the rounds' own ratios (quartiles and range), which says how far the
// ratio can be trusted on a noisy machine.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "median.h"

namespace tollgram::bench {

struct PairSeries {
    std::vector<double> first, second;  // seconds, round by round

    // The ratio first / second of the medians, or 0 before any round.
    double ratioOfMedians() const { return first.empty() ? 0.0 : median(first) / median(second); }
};

// The value at fraction q of the sorted values (0: least, 1: greatest),
// the nearest rank.
inline double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(q * double(values.size() - 1) + 0.5);
    return values[rank];
}

// Two readers, by their numbers, and their rounds.
struct ReaderPair {
    size_t first, second;
    PairSeries series;
};

// "a:b,c:d" into pairs of readers numbered below readerCount; false when
// the text is not so.
inline bool parsePairs(const char* text, size_t readerCount, std::vector<ReaderPair>& pairs) {
    for (const char* p = text; *p;) {
        char* end;
        const size_t first = std::strtoul(p, &end, 10);
        if (end == p || *end != ':') return false;
        p = end + 1;
        const size_t second = std::strtoul(p, &end, 10);
        if (end == p || first >= readerCount || second >= readerCount || first == second) return false;
        if (*end != ',' && *end != '\0') return false;
        pairs.push_back({first, second, {}});
        p = *end == ',' ? end + 1 : end;
    }
    return !pairs.empty();
}

// Whether the pair's first reader runs at this turn (0 or 1) of the
// round: each of the two goes first every other round.
inline bool firstRunsAt(int round, int turn) { return (turn == 0) != (round % 2 == 1); }

inline void reportPair(const char* firstName, const char* secondName, const PairSeries& pair) {
    if (pair.first.empty() || pair.first.size() != pair.second.size()) return;
    auto times = [](const char* name, const std::vector<double>& s) {
        std::printf("  %-28s median %.3f s (%.3f to %.3f)\n", name, median(s), *std::min_element(s.begin(), s.end()),
                    *std::max_element(s.begin(), s.end()));
    };
    std::printf("%s against %s, %zu pairs:\n", firstName, secondName, pair.first.size());
    times(firstName, pair.first);
    times(secondName, pair.second);
    std::vector<double> ratios;
    for (size_t i = 0; i < pair.first.size(); ++i) ratios.push_back(pair.first[i] / pair.second[i]);
    std::printf("  ratio of medians %.2fx; the pairs' ratios: quartiles %.2f to %.2f, range %.2f to %.2f\n",
                pair.ratioOfMedians(), quantile(ratios, 0.25), quantile(ratios, 0.75), quantile(ratios, 0.0),
                quantile(ratios, 1.0));
}

}  // namespace tollgram::bench
