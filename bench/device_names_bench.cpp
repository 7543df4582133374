// How long the model reader takes to give up on a path that names no
// regular file (Windows: the devices COM1, AUX and NUL, also as "com1.mtl" in
// a folder and as a material library; Linux: /dev/null and a folder), beside
// reading an eight-vertex cube from a regular file, in the same run, round
// after round. Reports the median time of one read with its range.
//   device_names_bench [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"

#include "median.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    std::string name;
    std::string path;
    bool readable;  // the read should succeed
    std::vector<double> microseconds;
};

using tollgram::bench::median;

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tollgram-device-names-bench";
    std::filesystem::create_directories(folder);
    const std::string cube = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
                             "f 1 2 3 4\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";
    std::ofstream(folder / "cube.obj", std::ios::binary) << cube;
    std::vector<Case> cases = {{"regular file (baseline)", (folder / "cube.obj").string(), true, {}}};
#if defined(_WIN32)
    std::ofstream(folder / "device_library.obj", std::ios::binary) << "mtllib aux.mtl\nmtllib com1\n" << cube;
    cases.push_back({"COM1", "COM1", false, {}});
    cases.push_back({"AUX", "AUX", false, {}});
    cases.push_back({"NUL", "NUL", false, {}});
    cases.push_back({"folder\\com1.mtl", (folder / "com1.mtl").string(), false, {}});
    cases.push_back({"cube naming aux.mtl, com1", (folder / "device_library.obj").string(), true, {}});
#else
    cases.push_back({"/dev/null", "/dev/null", false, {}});
    cases.push_back({"a folder", folder.string(), false, {}});
#endif
    for (int round = 0; round < rounds; ++round) {
        for (Case& c : cases) {
            const auto start = Clock::now();
            tollgram::obj::OBJModel model;
            const bool read = model.readOBJ(c.path);
            c.microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            if (read != c.readable) {
                std::printf("%s: read %s, %s\n", c.name.c_str(), read ? "succeeded" : "failed", model._errorText.c_str());
                return 1;
            }
        }
    }
    std::printf("%d rounds, one read of each path per round\n", rounds);
    for (const Case& c : cases) {
        std::printf("%-28s median %8.1f us (%.1f to %.1f us)\n", c.name.c_str(), median(c.microseconds),
                    *std::min_element(c.microseconds.begin(), c.microseconds.end()),
                    *std::max_element(c.microseconds.begin(), c.microseconds.end()));
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
