// Reading a ~100 MB sculpt-like OBJ file: the model reader with one thread,
// two and all, beside a plain fgets + sscanf reader and tinyobjloader, and,
// when the build is given the peer readers' folder
// (-DTOLLGRAM_PEER_READERS=DIR), fast_obj and rapidobj. Readers are timed in
// pairs (pairs.h), every read in a fresh process, as a user's first load
// is: round after round, the two of each pair one right after the other.
// Reports each pair's medians, the ratio of its medians with its spread, and
// of each reader the whole process's peak resident memory and the peak the
// read added, with the ratio of its median peak to fast_obj's (to
// tinyobjloader's without the peers). Linux only: the peak comes from
// /proc/self/status.
//   obj_read_bench [side] [rounds] [pairs]
// pairs: "a:b,c:d" with the readers' numbers below (0 the line count); the
// goals' pairs when left out.
#include <tiny_obj_loader.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"
#include "obj_generator/sculpt_obj.h"

#ifdef TOLLGRAM_HAVE_PEER_READERS
#include <fast_obj/fast_obj.h>
#include <rapidobj/rapidobj.hpp>
#endif

#include "pairs.h"
#include "peak_report.h"
#include "process_status.h"

namespace {

using tollgram::bench::statusKiB;

// The plain way: one fgets and one sscanf per line, std::vector storage.
size_t readWithSscanf(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return 0;
    std::vector<float> positions, coords, normals;
    std::vector<int> corners;
    std::vector<size_t> faceStarts;
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
        float x, y, z;
        if (line[0] == 'v' && line[1] == ' ' && std::sscanf(line + 2, "%f %f %f", &x, &y, &z) == 3) {
            positions.insert(positions.end(), {x, y, z});
        } else if (line[0] == 'v' && line[1] == 't' && std::sscanf(line + 2, "%f %f", &x, &y) == 2) {
            coords.insert(coords.end(), {x, y});
        } else if (line[0] == 'v' && line[1] == 'n' && std::sscanf(line + 2, "%f %f %f", &x, &y, &z) == 3) {
            normals.insert(normals.end(), {x, y, z});
        } else if (line[0] == 'f' && line[1] == ' ') {
            faceStarts.push_back(corners.size());
            const char* p = line + 1;
            int v, t, n, used;
            while (std::sscanf(p, " %d/%d/%d%n", &v, &t, &n, &used) == 3) {
                corners.insert(corners.end(), {v, t, n});
                p += used;
            }
        }
    }
    std::fclose(file);
    return faceStarts.size();
}

size_t readWithTinyobj(const std::string& path) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    const std::string directory = std::filesystem::path(path).parent_path().string() + "/";
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), directory.c_str(), false)) return 0;
    size_t faces = 0;
    for (const auto& shape : shapes) faces += shape.mesh.num_face_vertices.size();
    return faces;
}

size_t readWithModel(const std::string& path) {
    tollgram::obj::OBJModel model;
    if (!model.readOBJ(path)) {
        std::fprintf(stderr, "read failed: %s\n", model._errorText.c_str());
        return 0;
    }
    return model._faces._count;
}

#ifdef TOLLGRAM_HAVE_PEER_READERS
size_t readWithFastObj(const std::string& path) {
    fastObjMesh* mesh = fast_obj_read(path.c_str());
    if (!mesh) return 0;
    const size_t faces = mesh->face_count;
    fast_obj_destroy(mesh);
    return faces;
}

size_t readWithRapidobj(const std::string& path) {
    const rapidobj::Result result = rapidobj::ParseFile(path);
    if (result.error) return 0;
    size_t faces = 0;
    for (const auto& shape : result.shapes) faces += shape.mesh.num_face_vertices.size();
    return faces;
}
#endif

// The floor: finding every line end, nothing else.
size_t countLines(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    std::vector<char> block(1 << 20);
    size_t lines = 0, got;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
        for (const char* p = block.data(); (p = static_cast<const char*>(std::memchr(p, '\n', size_t(block.data() + got - p))));
             ++p) {
            ++lines;
        }
    }
    std::fclose(file);
    return lines;
}

struct Reader {
    const char* name;
    const char* threads;  // TOLLGRAM_READ_THREADS for the process; null: unset
    size_t (*read)(const std::string& path);
};

const Reader kReaders[] = {
    {"line-end scan (floor)", nullptr, countLines},
    {"readOBJ, 1 thread", "1", readWithModel},
    {"readOBJ, 2 threads", "2", readWithModel},
    {"readOBJ, all threads", nullptr, readWithModel},
    {"fgets + sscanf", nullptr, readWithSscanf},
    {"tinyobjloader", nullptr, readWithTinyobj},
#ifdef TOLLGRAM_HAVE_PEER_READERS
    {"fast_obj", nullptr, readWithFastObj},
    {"rapidobj (all threads)", nullptr, readWithRapidobj},
#endif
};
constexpr size_t kReaderCount = sizeof kReaders / sizeof kReaders[0];

// The pairs the reader's goals are stated in.
#ifdef TOLLGRAM_HAVE_PEER_READERS
const char* const kGoalPairs = "2:1,3:6,1:6";
const size_t kMemoryBaseline = 6;  // fast_obj
#else
const char* const kGoalPairs = "2:1,4:3,5:3";
const size_t kMemoryBaseline = 5;  // tinyobjloader
#endif

// One read in this process: "seconds processPeakKiB addedPeakKiB count" on
// standard output.
int readOnce(size_t reader, const std::string& path) {
    const long before = statusKiB("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    const size_t count = kReaders[reader].read(path);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peak = statusKiB("VmHWM:");
    std::printf("%.6f %ld %ld %zu\n", seconds, peak, peak - before, count);
    return count ? 0 : 1;
}

struct Run {
    double seconds = 0;
    long processPeakKiB = 0;  // the whole process, start-up included
    long addedPeakKiB = 0;    // above the resident memory before the read
    size_t count = 0;
};

// One read in a fresh process; false when it failed.
bool readInFreshProcess(size_t reader, const std::string& path, Run& run) {
    if (kReaders[reader].threads) {
        setenv("TOLLGRAM_READ_THREADS", kReaders[reader].threads, 1);
    } else {
        unsetenv("TOLLGRAM_READ_THREADS");
    }
    const std::string command = "'" + std::filesystem::read_symlink("/proc/self/exe").string() + "' --read " +
                                std::to_string(reader) + " '" + path + "'";
    std::FILE* child = popen(command.c_str(), "r");
    if (!child) return false;
    const int fields =
        std::fscanf(child, "%lf %ld %ld %zu", &run.seconds, &run.processPeakKiB, &run.addedPeakKiB, &run.count);
    return pclose(child) == 0 && fields == 4;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--read") == 0) {
        const size_t reader = std::strtoul(argv[2], nullptr, 10);
        return reader < kReaderCount ? readOnce(reader, argv[3]) : 2;
    }
    const uint32_t side = argc > 1 ? uint32_t(std::atoi(argv[1])) : 750;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    std::vector<tollgram::bench::ReaderPair> pairs;
    if (!tollgram::bench::parsePairs(argc > 3 ? argv[3] : kGoalPairs, kReaderCount, pairs)) {
        std::fprintf(stderr, "pairs: as \"2:1,3:6\", of the readers:\n");
        for (size_t r = 0; r < kReaderCount; ++r) std::fprintf(stderr, "  %zu %s\n", r, kReaders[r].name);
        return 2;
    }
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("tollgram-obj-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const auto file = tollgram::tools::writeSculptObj(directory.string(), side);
    std::printf("file: %.1f MB, %u vertices (v/vt/vn), %u quads; %d rounds of pairs, every read a fresh process\n",
                double(file.bytes) / 1e6, file.vertices, file.faces, rounds);
    countLines(file.objPath);  // into the page cache

    std::vector<double> processPeakMiB[kReaderCount], addedPeakMiB[kReaderCount];
    size_t counts[kReaderCount] = {};
    bool failed = false;
    for (int round = 0; round < rounds && !failed; ++round) {
        for (tollgram::bench::ReaderPair& pair : pairs) {
            for (int turn = 0; turn < 2 && !failed; ++turn) {
                const bool first = tollgram::bench::firstRunsAt(round, turn);
                const size_t reader = first ? pair.first : pair.second;
                Run run;
                if (!readInFreshProcess(reader, file.objPath, run)) {
                    std::printf("%s failed\n", kReaders[reader].name);
                    failed = true;
                    break;
                }
                (first ? pair.series.first : pair.series.second).push_back(run.seconds);
                processPeakMiB[reader].push_back(double(run.processPeakKiB) / 1024.0);
                addedPeakMiB[reader].push_back(double(run.addedPeakKiB) / 1024.0);
                counts[reader] = run.count;
            }
        }
    }
    std::filesystem::remove_all(directory);
    if (failed) return 1;

    for (const tollgram::bench::ReaderPair& pair : pairs) {
        tollgram::bench::reportPair(kReaders[pair.first].name, kReaders[pair.second].name, pair.series);
    }
    const char* names[kReaderCount];
    for (size_t r = 0; r < kReaderCount; ++r) names[r] = kReaders[r].name;
    tollgram::bench::printPeaks("peak resident memory of the whole process (VmHWM)", names, processPeakMiB,
                                kReaderCount, kMemoryBaseline);
    tollgram::bench::printPeaks("peak resident memory the read added", names, addedPeakMiB, kReaderCount,
                                kMemoryBaseline);
    // Every reader but the line count must see every face.
    bool facesAgree = true;
    for (size_t r = 1; r < kReaderCount; ++r) {
        facesAgree = facesAgree && (processPeakMiB[r].empty() || counts[r] == file.faces);
    }
    if (!facesAgree) std::printf("face counts disagree\n");
    return facesAgree ? 0 : 1;
}
