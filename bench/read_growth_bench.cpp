// How reading time grows with files that change state at every face, as CAD
// exporters write them, for N doubling from the first size:
// - materials: N materials in one MTL library and N faces, each after a
//   "usemtl" of its own material;
// - smoothing groups: N faces, each after an "s" line of its own number
//   (past the 256 the model records, each one is noted in the log).
// Beside each, in the same rounds, its baseline: as many lines, every one
// naming the first material or smoothing group. Reports each median with its
// range and how it grows when N doubles: about 2 for time linear in N, 4 for
// quadratic.
//   read_growth_bench [first N] [sizes] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"

#include "doubling_series.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

enum class Shape { Materials, SmoothingGroups };

// Writes m.obj (and m.mtl) in the current folder.
bool writeFiles(Shape shape, int n, bool everyFaceItsOwn) {
    std::FILE* library = std::fopen("m.mtl", "wb");
    std::FILE* model = std::fopen("m.obj", "wb");
    if (!library || !model) return false;
    std::fputs("mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n", model);
    for (int i = 0; i < n; ++i) {
        const int own = everyFaceItsOwn ? i : 0;
        if (shape == Shape::Materials) {
            std::fprintf(library, "newmtl m%d\nKd 1 0 0\n", i);
            std::fprintf(model, "usemtl m%d\nf 1 2 3\n", own);
        } else {
            std::fprintf(model, "s %d\nf 1 2 3\n", own + 1);
        }
    }
    return std::fclose(library) == 0 && std::fclose(model) == 0;
}

// One read in seconds; negative when the read failed or found another model.
double timeRead(int n) {
    const auto start = Clock::now();
    tollgram::obj::OBJModel model;
    const bool read = model.readOBJ("m.obj");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return read && model._faces._count == uint32_t(n) ? seconds : -1.0;
}

struct Row {
    int n;
    std::vector<double> own, baseline;
};

}  // namespace

using tollgram::bench::printDoublingSeries;

int main(int argc, char** argv) {
    const int first = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int sizes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 4;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const fs::path folder = fs::temp_directory_path() / "tollgram-read-growth";
    fs::create_directories(folder);
    const fs::path started = fs::current_path();
    fs::current_path(folder);  // the smoothing-group log is written here

    std::printf("%d rounds, N faces each after a line of its own\n", rounds);
    for (const Shape shape : {Shape::Materials, Shape::SmoothingGroups}) {
        std::vector<Row> rows;
        for (int i = 0, n = first; i < sizes; ++i, n *= 2) rows.push_back({n, {}, {}});
        for (int round = 0; round < rounds; ++round) {
            for (Row& row : rows) {
                for (const bool own : {true, false}) {
                    fs::remove("error_objmodel_read.txt");
                    if (!writeFiles(shape, row.n, own)) return 1;
                    const double seconds = timeRead(row.n);
                    if (seconds < 0) {
                        std::printf("the read of N = %d failed\n", row.n);
                        return 1;
                    }
                    (own ? row.own : row.baseline).push_back(seconds);
                }
            }
        }
        const bool materials = shape == Shape::Materials;
        std::printf("%s\n", materials ? "materials (\"usemtl\")" : "smoothing groups (\"s\")");
        printDoublingSeries(materials ? "every face its own material" : "every face its own smoothing group", rows, &Row::own);
        printDoublingSeries(materials ? "baseline: every face the first material" : "baseline: every face smoothing group 1",
                    rows, &Row::baseline);
        std::printf("  own / baseline at N = %d: %.2f\n", rows.back().n,
                    tollgram::bench::median(rows.back().own) / tollgram::bench::median(rows.back().baseline));
    }
    fs::current_path(started);
    fs::remove_all(folder);
    return 0;
}
