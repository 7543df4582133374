#pragma once
// The figure every benchmark reports: the median of its rounds, which a
// single slow or lucky round does not move.
#include <algorithm>
#include <vector>

namespace tollgram::bench {

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace tollgram::bench
