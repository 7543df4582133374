#pragma once
// Readers' peak memory printed alike: for each reader that ran, the median
// of its reads' peaks with their range, and the ratio of that median to the
// baseline reader's median (the figure memory goals are stated in).
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "median.h"

namespace tollgram::bench {

// peaksMiB[r] holds reader r's peaks, one a read; names[r] its name.
// baseline: the reader the others are set beside; no ratio is printed when
// it did not run.
inline void printPeaks(const char* title, const char* const* names, const std::vector<double>* peaksMiB, size_t readers,
                       size_t baseline) {
    std::printf("%s (median, range; ratio of median peaks to %s):\n", title, names[baseline]);
    const bool baselineRan = baseline < readers && !peaksMiB[baseline].empty();
    const double baselineMedian = baselineRan ? median(peaksMiB[baseline]) : 0.0;
    for (size_t r = 0; r < readers; ++r) {
        const std::vector<double>& peaks = peaksMiB[r];
        if (peaks.empty()) continue;
        const double m = median(peaks);
        std::printf("  %-28s %7.1f MiB (%.1f to %.1f)", names[r], m, *std::min_element(peaks.begin(), peaks.end()),
                    *std::max_element(peaks.begin(), peaks.end()));
        if (baselineRan && baselineMedian > 0) std::printf("  %.2fx", m / baselineMedian);
        std::printf("\n");
    }
}

}  // namespace tollgram::bench
