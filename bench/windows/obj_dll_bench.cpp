// Reading a ~100 MB sculpt-like OBJ file through the product itself:
// Tollgram.dll loaded by name and LoadOBJFile called with the host's frame,
// with one thread, two and all, and, when the build is given the peer
// readers' folder, beside fast_obj built the same way (same width, same
// compiler). Readers are timed in pairs (pairs.h), every read the first and
// only read of a fresh process, timed inside it (the DLL loaded before); round after round, the two
// of each pair one right after the other. Reports each pair's medians and
// the ratio of its medians with its spread, then each reader's peak memory
// (the whole process's, read in it after the read) beside fast_obj's, as a
// ratio of the median peaks. Run under Wine:
//   tools/wine-run.sh build/win32/bin/obj_dll_bench.exe [side] [rounds] [pairs]
// (build/win64 where the machine runs no 32-bit programs). pairs: "a:b,c:d"
// with the readers' numbers below; the goals' pairs when left out.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "obj_generator/sculpt_obj.h"
#include "tollgram.h"

#ifdef TOLLGRAM_HAVE_PEER_READERS
#include <fast_obj/fast_obj.h>
#endif

#include "../pairs.h"
#include "../peak_report.h"
#include "fresh_process.h"
#include "process_peak.h"

namespace {

TollgramExportFunction loadModel = nullptr;
TollgramExportFunction freeModel = nullptr;

// Loaded before the clock starts, as the host has it loaded before a
// script reads a file: loading the DLL (and the system DLLs it imports)
// is no part of reading.
bool loadDll() {
    HMODULE dll = LoadLibraryA("Tollgram.dll");
    if (!dll) return false;
    auto function = [&](const char* name) {
        return reinterpret_cast<TollgramExportFunction>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    };
    loadModel = function("LoadOBJFile");
    freeModel = function("FreeOBJModel");
    return loadModel && freeModel;
}

// LoadOBJFile answers the number of groups; the faces are not asked for,
// since a query would be timed too.
size_t readWithDll(const std::string& path) {
    const float groups = loadModel(path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr);
    freeModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr);
    return groups > 0 ? size_t(groups) : 0;
}

#ifdef TOLLGRAM_HAVE_PEER_READERS
size_t readWithFastObj(const std::string& path) {
    fastObjMesh* mesh = fast_obj_read(path.c_str());
    if (!mesh) return 0;
    const size_t groups = mesh->group_count;
    fast_obj_destroy(mesh);
    return groups;
}
#endif

struct Reader {
    const char* name;
    const char* threads;  // TOLLGRAM_READ_THREADS while it reads; empty: unset
    size_t (*read)(const std::string& path);
    bool usesDll;
};

const Reader kReaders[] = {
    {"LoadOBJFile, 1 thread", "1", readWithDll, true},
    {"LoadOBJFile, 2 threads", "2", readWithDll, true},
    {"LoadOBJFile, all threads", "", readWithDll, true},
#ifdef TOLLGRAM_HAVE_PEER_READERS
    {sizeof(void*) == 4 ? "fast_obj (32-bit)" : "fast_obj (64-bit)", "", readWithFastObj, false},
#endif
};
constexpr size_t kReaderCount = sizeof kReaders / sizeof kReaders[0];

#ifdef TOLLGRAM_HAVE_PEER_READERS
const char* const kGoalPairs = "1:0,2:3,0:3";
const size_t kMemoryBaseline = 3;  // fast_obj
#else
const char* const kGoalPairs = "1:0";
const size_t kMemoryBaseline = 0;
#endif

struct Run {
    double seconds = 0;
    tollgram::bench::ProcessPeak peak;
};

// One read in this process, its time and the process's peaks written to
// resultPath.
int readOnce(size_t reader, const std::string& path, const char* resultPath) {
    // The library's C runtime is the program's (msvcrt), so it sees this.
    const std::string setting = std::string("TOLLGRAM_READ_THREADS=") + kReaders[reader].threads;
    _putenv(setting.c_str());
    if (kReaders[reader].usesDll && !loadDll()) return 1;
    const auto start = std::chrono::steady_clock::now();
    const size_t got = kReaders[reader].read(path);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::FILE* result = std::fopen(resultPath, "w");
    if (!result) return 1;
    const tollgram::bench::ProcessPeak peak = tollgram::bench::processPeak();
    std::fprintf(result, "%.6f %zu %.3f %.3f\n", seconds, got, peak.workingSetMiB, peak.pagefileMiB);
    return std::fclose(result) == 0 && got ? 0 : 1;
}

// One read in a fresh process of this program; false when it failed.
bool readInFreshProcess(size_t reader, const std::string& path, const std::string& resultPath, Run& run) {
    char program[MAX_PATH];
    if (GetModuleFileNameA(nullptr, program, MAX_PATH) == 0) return false;
    std::string command = std::string("\"") + program + "\" --read " + std::to_string(reader) + " \"" + path + "\" \"" +
                          resultPath + "\"";
    DWORD code = 1;
    if (!tollgram::bench::runToEnd(command, code)) return false;
    std::FILE* result = std::fopen(resultPath.c_str(), "r");
    if (!result) return false;
    size_t got = 0;
    const int fields =
        std::fscanf(result, "%lf %zu %lf %lf", &run.seconds, &got, &run.peak.workingSetMiB, &run.peak.pagefileMiB);
    std::fclose(result);
    return code == 0 && fields == 4;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--read") == 0) {
        const size_t reader = std::strtoul(argv[2], nullptr, 10);
        return reader < kReaderCount ? readOnce(reader, argv[3], argv[4]) : 2;
    }
    const uint32_t side = argc > 1 ? uint32_t(std::atoi(argv[1])) : 750;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    std::vector<tollgram::bench::ReaderPair> pairs;
    if (!tollgram::bench::parsePairs(argc > 3 ? argv[3] : kGoalPairs, kReaderCount, pairs)) {
        std::fprintf(stderr, "pairs: as \"1:0,2:3\", of the readers:\n");
        for (size_t r = 0; r < kReaderCount; ++r) std::fprintf(stderr, "  %zu %s\n", r, kReaders[r].name);
        return 2;
    }
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("tollgram-dll-bench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(directory);
    const auto file = tollgram::tools::writeSculptObj(directory.string(), side);
    const std::string resultPath = (directory / "result.txt").string();
    std::printf("file: %.1f MB, %u vertices (v/vt/vn), %u quads; %d rounds of pairs, every load in a fresh process\n",
                double(file.bytes) / 1e6, file.vertices, file.faces, rounds);
    std::vector<double> workingSetMiB[kReaderCount], pagefileMiB[kReaderCount];
    bool failed = false;
    for (int round = 0; round < rounds && !failed; ++round) {
        for (tollgram::bench::ReaderPair& pair : pairs) {
            for (int turn = 0; turn < 2 && !failed; ++turn) {
                const bool first = tollgram::bench::firstRunsAt(round, turn);
                const size_t reader = first ? pair.first : pair.second;
                Run run;
                if (!readInFreshProcess(reader, file.objPath, resultPath, run)) {
                    std::printf("%s failed\n", kReaders[reader].name);
                    failed = true;
                    break;
                }
                (first ? pair.series.first : pair.series.second).push_back(run.seconds);
                workingSetMiB[reader].push_back(run.peak.workingSetMiB);
                pagefileMiB[reader].push_back(run.peak.pagefileMiB);
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
    tollgram::bench::printPeaks("peak working set of the whole process (PeakWorkingSetSize)", names, workingSetMiB,
                                kReaderCount, kMemoryBaseline);
    // Wine answers the private memory resident when asked, not a peak:
    // there, what the process keeps once the model is freed.
    tollgram::bench::printPeaks("peak commit of the whole process (PeakPagefileUsage; Wine: private memory left "
                                "after the free)",
                                names, pagefileMiB, kReaderCount, kMemoryBaseline);
    return 0;
}
