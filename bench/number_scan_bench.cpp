// The coordinate lines of a mesh file, 1.8 million of them, read by the
// model reader's number scanner (a short road for numbers as meshes write
// them, fast_float for the rest) beside fast_float alone, the standard's
// std::from_chars and the runtime's strtof, in the same run, round after
// round. Reports the median time per number with its range, once for
// numbers of 6 decimals (as most exporters write) and once of 17
// significant digits. Also built for Windows, to run under Wine.
//   number_scan_bench [rounds]
#include <fast_float/fast_float.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "obj/read/number_scan.h"

#include "median.h"

namespace {

constexpr int kLinesPerKind = 600000;

// "v x y z", "vt u v" and "vn x y z" lines, the numbers written with format.
std::string coordinateLines(const char* format) {
    std::string text;
    uint32_t state = 12345;
    auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24) - 0.5;
    };
    char line[160];
    const std::string number(format);
    for (int kind = 0; kind < 3; ++kind) {
        const char* keyword = kind == 0 ? "v" : kind == 1 ? "vt" : "vn";
        const int count = kind == 1 ? 2 : 3;
        const std::string lineFormat =
            std::string(keyword) + " " + number + " " + number + (count == 3 ? " " + number : "") + "\n";
        for (int i = 0; i < kLinesPerKind; ++i) {
            if (count == 3) {
                std::snprintf(line, sizeof line, lineFormat.c_str(), next() * 20, next() * 20, next() * 20);
            } else {
                std::snprintf(line, sizeof line, lineFormat.c_str(), next() + 0.5, next() + 0.5);
            }
            text += line;
        }
    }
    return text;
}

const char* skipBlanks(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// A scanner of one number: its end, or null.
using ScanOne = const char* (*)(const char* text, const char* end, float& value);

const char* withFastFloat(const char* text, const char* end, float& value) {
    const auto result = fast_float::from_chars(text, end, value);
    return result.ec == std::errc() ? result.ptr : nullptr;
}

const char* withFromChars(const char* text, const char* end, float& value) {
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc() ? result.ptr : nullptr;
}

const char* withStrtof(const char* text, const char*, float& value) {
    char* stop;
    value = std::strtof(text, &stop);
    return stop == text ? nullptr : stop;
}

// Every line's numbers; the sum keeps the work from being optimised away.
template <typename ScanLine>
double timeLines(const std::string& text, ScanLine scanLine, double& sum) {
    const auto start = std::chrono::steady_clock::now();
    const char* p = text.data();
    const char* const end = text.data() + text.size();
    while (p < end) {
        p += p[1] == ' ' ? 2 : 3;  // past the keyword and its blank
        float xyz[3] = {0, 0, 0};
        p = scanLine(p, end, xyz);
        sum += double(xyz[0]) + double(xyz[1]) + double(xyz[2]);
        while (*p != '\n') ++p;
        ++p;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double timeWithOne(const std::string& text, ScanOne scan, double& sum) {
    return timeLines(text,
                     [scan](const char* p, const char* end, float* xyz) {
                         for (int i = 0; i < 3; ++i) {
                             const char* stop = scan(skipBlanks(p), end, xyz[i]);
                             if (!stop) break;
                             p = stop;
                         }
                         return p;
                     },
                     sum);
}

double timeWithReader(const std::string& text, double& sum) {
    return timeLines(text,
                     [](const char* p, const char* end, float* xyz) {
                         const char* stop = tollgram::obj::scanFloats(p, end, xyz, 3);
                         return stop;
                     },
                     sum);
}

using tollgram::bench::median;

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const double numbers = double(kLinesPerKind) * 8;
    double sum = 0;
    for (const char* format : {"%.6f", "%.17g"}) {
        const std::string text = coordinateLines(format);
        std::printf("numbers written \"%s\": %.1f MB of coordinate lines, %d rounds\n", format, double(text.size()) / 1e6,
                    rounds);
        const char* names[] = {"the reader's scanner", "fast_float alone", "std::from_chars", "strtof"};
        std::vector<double> seconds[4];
        for (int round = 0; round < rounds; ++round) {
            for (int i = 0; i < 4; ++i) {
                const int which = (i + round) % 4;  // each takes every place in turn
                seconds[which].push_back(which == 0   ? timeWithReader(text, sum)
                                         : which == 1 ? timeWithOne(text, withFastFloat, sum)
                                         : which == 2 ? timeWithOne(text, withFromChars, sum)
                                                      : timeWithOne(text, withStrtof, sum));
            }
        }
        for (int i = 0; i < 4; ++i) {
            const auto [low, high] = std::minmax_element(seconds[i].begin(), seconds[i].end());
            std::printf("  %-22s median %5.1f ns a number (%.1f to %.1f), %.2fx the reader's time\n", names[i],
                        median(seconds[i]) / numbers * 1e9, *low / numbers * 1e9, *high / numbers * 1e9,
                        median(seconds[i]) / median(seconds[0]));
        }
    }
    std::printf("(sum %g)\n", sum);
    return 0;
}
