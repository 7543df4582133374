// What the process holds while a script morphs a model: a scene written
// object by object is loaded, its vertices replaced from a second file of the
// same shape ten times, then freed. Each round reports, above the process's
// memory before the load, resident and committed memory after the load,
// after the first and after the tenth replace, the resident peak over the ten
// replaces, and the time of one replace; the medians of the rounds are
// printed with their range. Beside them, in the same rounds, the baseline: a
// fresh load of the same file, time and memory.
//   replace_memory_bench [parts] [side] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "support/process_resources.h"
#include "support/scene_obj.h"

#include "median.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double mebibytes(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Peak resident bytes since the last reset (Linux: VmHWM); 0 when unknown.
size_t peakResident() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtoull(line.c_str() + 6, nullptr, 10) * 1024;
    }
    return 0;
}

void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

float call(decltype(&::LoadOBJFile) function, const char* text) { return function(text, 0.0, nullptr, 0, 0, 0, nullptr); }

struct Series {
    const char* name;
    std::vector<double> values;
};

void print(const Series& s, const char* unit) {
    std::printf("  %-34s median %8.1f %s (%.1f to %.1f)\n", s.name, tollgram::bench::median(s.values), unit,
                *std::min_element(s.values.begin(), s.values.end()), *std::max_element(s.values.begin(), s.values.end()));
}

}  // namespace

int main(int argc, char** argv) {
    const tollgram::test::SceneShape shape{argc > 1 ? std::max(1, std::atoi(argv[1])) : 80,
                                           argc > 2 ? std::max(2, std::atoi(argv[2])) : 100};
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const fs::path folder = fs::temp_directory_path() / "tollgram-replace-memory";
    fs::create_directories(folder);
    const std::string loaded = (folder / "scene.obj").string();
    const std::string moved = (folder / "moved.obj").string();
    std::ofstream(loaded, std::ios::binary) << tollgram::test::objectByObjectScene(shape, 0.0f);
    std::ofstream(moved, std::ios::binary) << tollgram::test::objectByObjectScene(shape, 0.25f);
    std::printf("%d parts of %d x %d vertices (%u in all), %.1f MB file, %d rounds, MiB above the process before the load\n",
                shape.parts, shape.side, shape.side, shape.vertexCount(), double(fs::file_size(loaded)) / 1e6, rounds);

    Series loadTime{"fresh load (baseline)", {}}, replaceTime{"one replace", {}};
    Series residentLoad{"resident after the load", {}}, residentFirst{"resident after 1 replace", {}},
        residentTenth{"resident after 10 replaces", {}}, residentPeak{"resident peak over 10 replaces", {}};
    Series committedLoad{"committed after the load", {}}, committedFirst{"committed after 1 replace", {}},
        committedTenth{"committed after 10 replaces", {}};
    using tollgram::test::committedBytes;
    using tollgram::test::residentBytes;
    for (int round = 0; round < rounds; ++round) {
        const double residentBase = mebibytes(residentBytes()), committedBase = mebibytes(committedBytes());
        auto start = Clock::now();
        if (call(::LoadOBJFile, loaded.c_str()) != float(shape.parts)) return std::printf("the load failed\n"), 1;
        loadTime.values.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        residentLoad.values.push_back(mebibytes(residentBytes()) - residentBase);
        committedLoad.values.push_back(mebibytes(committedBytes()) - committedBase);
        resetPeakResident();
        for (int i = 0; i < 10; ++i) {
            start = Clock::now();
            if (call(::ReplaceOBJVertices, i % 2 ? loaded.c_str() : moved.c_str()) != 0.0f) {
                return std::printf("replace %d failed\n", i + 1), 1;
            }
            if (i == 0) {
                replaceTime.values.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                residentFirst.values.push_back(mebibytes(residentBytes()) - residentBase);
                committedFirst.values.push_back(mebibytes(committedBytes()) - committedBase);
            }
        }
        residentTenth.values.push_back(mebibytes(residentBytes()) - residentBase);
        committedTenth.values.push_back(mebibytes(committedBytes()) - committedBase);
        residentPeak.values.push_back(mebibytes(peakResident()) - residentBase);
        call(::FreeOBJModel, nullptr);
    }
    for (const Series* s : {&loadTime, &replaceTime}) print(*s, "ms");
    for (const Series* s : {&residentLoad, &residentFirst, &residentTenth, &residentPeak, &committedLoad,
                            &committedFirst, &committedTenth}) {
        print(*s, "MiB");
    }
    fs::remove_all(folder);
    return 0;
}
