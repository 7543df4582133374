// How the host mesh of tollgram-host --mesh grows in time with the corners
// of one face, for N doubling from the first size: N vertices, then one
// face of N corners, each a vertex of its own (refused at the ninth, as the
// library refuses it), and beside it, in the same rounds, its baseline: the
// same N vertices and a face of N corners naming the first eight again and
// again (read whole). Reports each median with its range and how it grows
// when N doubles: about 2 for time linear in N, 4 for quadratic.
//   scene_mesh_bench [first N] [sizes] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host_tool/scene.h"

#include "doubling_series.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

bool writeFile(const std::string& path, int n, bool distinct) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    for (int i = 0; i < n; ++i) std::fprintf(file, "v %d 0 0\n", i);
    std::fputs("f", file);
    for (int i = 0; i < n; ++i) std::fprintf(file, " %d", distinct ? i + 1 : i % 8 + 1);
    std::fputs("\n", file);
    return std::fclose(file) == 0;
}

// One read in seconds; negative when the mesh was not what the file holds.
double timeRead(const std::string& path, bool distinct) {
    const auto start = Clock::now();
    tollgram::host_tool::SceneMesh mesh;
    std::string error;
    const bool read = tollgram::host_tool::readSceneMesh(path, mesh, error);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const bool expected = distinct ? !read : read && mesh.polygons.size() == 1 && mesh.polygons[0].size() == 8;
    return expected ? seconds : -1.0;
}

struct Row {
    int n;
    std::vector<double> distinct, repeated;
};

}  // namespace

using tollgram::bench::printDoublingSeries;

int main(int argc, char** argv) {
    const int first = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25000;
    const int sizes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 4;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const fs::path folder = fs::temp_directory_path() / "tollgram-scene-mesh";
    fs::create_directories(folder);
    const std::string path = (folder / "face.obj").string();

    std::vector<Row> rows;
    for (int i = 0, n = first; i < sizes; ++i, n *= 2) rows.push_back({n, {}, {}});
    for (int round = 0; round < rounds; ++round) {
        for (Row& row : rows) {
            // Each shape goes first every other round.
            for (int turn = 0; turn < 2; ++turn) {
                const bool distinct = (turn == 0) == (round % 2 == 0);
                if (!writeFile(path, row.n, distinct)) return 1;
                const double seconds = timeRead(path, distinct);
                if (seconds < 0) {
                    std::printf("the mesh of N = %d was not read as the library reads it\n", row.n);
                    return 1;
                }
                (distinct ? row.distinct : row.repeated).push_back(seconds);
            }
        }
    }
    std::printf("%d rounds, N vertices and one face of N corners\n", rounds);
    printDoublingSeries("N distinct corners (refused at the ninth)", rows, &Row::distinct);
    printDoublingSeries("baseline: the first eight vertices again and again", rows, &Row::repeated);
    std::printf("  distinct / baseline at N = %d: %.2f\n", rows.back().n,
                tollgram::bench::median(rows.back().distinct) / tollgram::bench::median(rows.back().repeated));
    fs::remove_all(folder);
    return 0;
}
