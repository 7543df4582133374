// Reading an OBJ file of 1,000,000 groups of one face each (18 MB): the
// model reader beside a plain reader (fgets and sscanf, one std::map entry
// of a std::vector per group), on the same file in the same run, round after
// round. Reports the median time with its range and, on Windows (under Wine
// as the DLL runs), the memory each reader's result keeps committed, what
// stays committed once the model is gone and the largest free address range.
// On Linux memory is not reported: the C library keeps freed memory mapped
// for reuse, so committed memory says little of a reader.
//   many_groups_bench [groups] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"
#include "support/process_resources.h"

#include "median.h"

namespace {

using Clock = std::chrono::steady_clock;

double mebibytes(double bytes) { return bytes / (1024.0 * 1024.0); }

struct Series {
    std::vector<double> seconds;
    std::vector<double> committedMiB;  // while the result is held
    void add(double s, double mib) {
        seconds.push_back(s);
        committedMiB.push_back(mib);
    }
    static double median(const std::vector<double>& v) { return tollgram::bench::median(v); }
    void print(const char* name, bool withMemory) const {
        std::printf("%-24s median %.3f s (%.3f to %.3f s)", name, median(seconds),
                    *std::min_element(seconds.begin(), seconds.end()), *std::max_element(seconds.begin(), seconds.end()));
        if (withMemory) {
            std::printf(", committed +%.1f MiB (%.1f to %.1f)", median(committedMiB),
                        *std::min_element(committedMiB.begin(), committedMiB.end()),
                        *std::max_element(committedMiB.begin(), committedMiB.end()));
        }
        std::printf("\n");
    }
};

// The straightforward way: a line at a time, a map of vectors by name.
size_t readPlainly(const std::string& path, double& committedMiB, size_t before) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return 0;
    std::vector<float> positions;
    std::vector<int> corners;
    std::map<std::string, std::vector<int>> groups;
    std::vector<int>* current = &groups["default"];
    char line[1024];
    int faces = 0;
    while (std::fgets(line, sizeof line, file)) {
        float x, y, z;
        int a, b, c;
        char name[1000];
        if (std::sscanf(line, "v %f %f %f", &x, &y, &z) == 3) {
            positions.insert(positions.end(), {x, y, z});
        } else if (std::sscanf(line, "f %d %d %d", &a, &b, &c) == 3) {
            corners.insert(corners.end(), {a, b, c});
            current->push_back(faces++);
        } else if (std::sscanf(line, "g %999s", name) == 1) {
            current = &groups[name];
        }
    }
    std::fclose(file);
    committedMiB = mebibytes(double(tollgram::test::committedBytes()) - double(before));
    return groups.size() - (groups["default"].empty() ? 1 : 0);
}

}  // namespace

int main(int argc, char** argv) {
    const int groups = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tollgram-many-groups.obj";
    {
        std::FILE* file = std::fopen(path.string().c_str(), "wb");
        if (!file) return 1;
        std::fputs("v 0 0 0\nv 1 0 0\nv 0 1 0\n", file);
        for (int i = 0; i < groups; ++i) std::fprintf(file, "g g%d\nf 1 2 3\n", i);
        std::fclose(file);
    }
    std::printf("file: %.1f MB, %d groups of one face\n", double(std::filesystem::file_size(path)) / 1e6, groups);

    const size_t start = tollgram::test::committedBytes();
    const size_t startFree = tollgram::test::largestFreeBlock();
    Series model, plain;
    std::vector<double> afterFreeMiB;
    for (int round = 0; round < rounds; ++round) {
        {
            const size_t before = tollgram::test::committedBytes();
            const auto t0 = Clock::now();
            auto* m = new tollgram::obj::OBJModel();
            const bool ok = m->readOBJ(path.string());
            const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
            model.add(seconds, mebibytes(double(tollgram::test::committedBytes()) - double(before)));
            if (!ok || m->_groupNames.size() != size_t(groups)) {
                std::printf("model reader: %s, %zu groups\n", ok ? "read" : m->_errorText.c_str(), m->_groupNames.size());
                return 1;
            }
            delete m;
            afterFreeMiB.push_back(mebibytes(double(tollgram::test::committedBytes()) - double(start)));
        }
        {
            const size_t before = tollgram::test::committedBytes();
            double committed = 0;
            const auto t0 = Clock::now();
            const size_t found = readPlainly(path.string(), committed, before);
            plain.add(std::chrono::duration<double>(Clock::now() - t0).count(), committed);
            if (found != size_t(groups)) std::printf("plain reader: %zu groups\n", found);
        }
    }
    const bool withMemory = startFree != 0;
    model.print("readOBJ", withMemory);
    plain.print("fgets+sscanf, std::map", withMemory);
    if (withMemory) {
        std::printf("committed after each model was freed, beside the start: %+.1f MiB first, %+.1f MiB last\n",
                    afterFreeMiB.front(), afterFreeMiB.back());
        std::printf("largest free address range: %.1f MiB at the start, %.1f MiB at the end\n", mebibytes(double(startFree)),
                    mebibytes(double(tollgram::test::largestFreeBlock())));
    }
    std::filesystem::remove(path);
    return 0;
}
