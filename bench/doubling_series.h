#pragma once
// A growth benchmark's series printed alike: for each N, doubling from row
// to row, the median of its rounds with their range, and how much twice N
// cost against N, the figure the growth goals are stated in.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "median.h"

namespace tollgram::bench {

// Row has an int member n and the series as a member vector of seconds.
template <typename Row>
void printDoublingSeries(const char *name, const std::vector<Row> &rows,
                         std::vector<double> Row::*series) {
  std::printf("  %s\n", name);
  double previous = 0;
  for (const Row &row : rows) {
    const std::vector<double> &s = row.*series;
    const double m = median(s);
    std::printf("    N = %8d  median %.4f s (%.4f to %.4f s)", row.n, m,
                *std::min_element(s.begin(), s.end()),
                *std::max_element(s.begin(), s.end()));
    if (previous > 0)
      std::printf("  x%.2f for twice N", m / previous);
    std::printf("\n");
    previous = m;
  }
}

} // namespace tollgram::bench
