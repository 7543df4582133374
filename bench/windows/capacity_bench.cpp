// The largest sculpt-like OBJ file (tools/obj_generator, side × side
// vertices) a plain process of this build loads, through Tollgram.dll and,
// when the build is given the peer readers' folder, through fast_obj built
// the same width. Every load is the only one of a fresh process; the two
// readers take turns to go first, round by round and side by side. A load counts only
// when every face is there: the DLL's through LoadOBJFile's result and
// GetOBJInfo "faceCount" and "vertexCount"; fast_obj's through its face,
// corner and position counts, since past its limits it drops what it can't
// store without a word. Each file is written once, loaded, and deleted.
// Reports per side and reader: loaded or not, faces, the median time of the
// load with its range, and the process's peak working set and its peak
// commit, both read while the model is held (under Wine the commit is the
// private memory resident then, not a peak).
// Run under 32-bit Wine for the 32-bit figures:
//   tools/wine-run.sh build/win32/bin/capacity_bench.exe [sides] [rounds] [dll]
// sides: "2000,2800,3400,4000" when left out (2800: about 1.4 GB of file,
// 4000: about 2.95 GB); rounds: loads per reader and side, 3 when left out;
// dll: the Tollgram.dll to load, the one beside this program when left out.
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

#include "../capacity_check.h"
#include "../median.h"
#include "fresh_process.h"
#include "process_peak.h"

namespace {

using tollgram::bench::FileCounts;

// What one load found, as the fresh process wrote it.
struct Load {
    tollgram::bench::LoadCounts counts;
    double seconds = 0;
    tollgram::bench::ProcessPeak peak;
    unsigned long exitCode = 0;
};

bool complete(const Load& load, const FileCounts& file) { return tollgram::bench::loadedWhole(load.counts, file); }

bool writeLoad(const char* resultPath, const Load& load) {
    std::FILE* result = std::fopen(resultPath, "w");
    if (!result) return false;
    const tollgram::bench::LoadCounts& counts = load.counts;
    std::fprintf(result, "%d %.6f %.0f %.0f %.0f %.3f %.3f\n", counts.succeeded ? 1 : 0, load.seconds, counts.faces,
                 counts.vertices, counts.corners, load.peak.workingSetMiB, load.peak.pagefileMiB);
    return std::fclose(result) == 0;
}

// The DLL's load, its counts asked for after the clock stops; the peaks are
// read while the model is held.
int loadWithDll(const char* dllPath, const char* objPath, Load& load) {
    HMODULE dll = LoadLibraryA(dllPath);
    if (!dll) return 4;
    auto function = [&](const char* name) {
        return reinterpret_cast<TollgramExportFunction>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    };
    const TollgramExportFunction loadModel = function("LoadOBJFile");
    const TollgramExportFunction info = function("GetOBJInfo");
    const TollgramExportFunction freeModel = function("FreeOBJModel");
    if (!loadModel || !info || !freeModel) return 4;
    const auto start = std::chrono::steady_clock::now();
    const float groups = loadModel(objPath, 0.0, nullptr, 0, 0, 0, nullptr);
    load.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    load.counts.succeeded = groups > 0;
    load.counts.faces = info("faceCount", 0.0, nullptr, 0, 0, 0, nullptr);
    load.counts.vertices = info("vertexCount", 0.0, nullptr, 0, 0, 0, nullptr);
    load.peak = tollgram::bench::processPeak();
    freeModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr);
    return 0;
}

#ifdef TOLLGRAM_HAVE_PEER_READERS
int loadWithFastObj(const char* objPath, Load& load) {
    const auto start = std::chrono::steady_clock::now();
    fastObjMesh* mesh = fast_obj_read(objPath);
    load.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    load.counts.succeeded = mesh != nullptr;
    if (mesh) {
        load.counts.faces = mesh->face_count;
        load.counts.vertices = mesh->position_count > 0 ? double(mesh->position_count - 1) : 0.0;  // less its dummy
        load.counts.corners = mesh->index_count;
    }
    load.peak = tollgram::bench::processPeak();
    if (mesh) fast_obj_destroy(mesh);
    return 0;
}
#endif

struct Reader {
    const char* name;
    bool usesDll;
};

const Reader kReaders[] = {
    {"Tollgram.dll", true},
#ifdef TOLLGRAM_HAVE_PEER_READERS
    {sizeof(void*) == 4 ? "fast_obj (32-bit)" : "fast_obj (64-bit)", false},
#endif
};
constexpr size_t kReaderCount = sizeof kReaders / sizeof kReaders[0];

// A reader that runs out of memory may fault instead of failing: the
// process ends with a code of its own, without the system's crash report.
LONG WINAPI endOnFault(EXCEPTION_POINTERS*) {
    ExitProcess(3);
    return EXCEPTION_EXECUTE_HANDLER;
}

int loadOnce(size_t reader, const char* dllPath, const char* objPath, const char* resultPath) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(endOnFault);
    Load load;
    int code = 2;
    if (kReaders[reader].usesDll) code = loadWithDll(dllPath, objPath, load);
#ifdef TOLLGRAM_HAVE_PEER_READERS
    else code = loadWithFastObj(objPath, load);
#endif
    if (code != 0) return code;
    return writeLoad(resultPath, load) ? 0 : 1;
}

// One load in a fresh process of this program.
Load loadInFreshProcess(size_t reader, const std::string& dllPath, const std::string& objPath,
                        const std::string& resultPath) {
    Load load;
    std::remove(resultPath.c_str());
    char program[MAX_PATH];
    if (GetModuleFileNameA(nullptr, program, MAX_PATH) == 0) return load;
    std::string command = "\"";
    command.append(program)
        .append("\" --load ")
        .append(std::to_string(reader))
        .append(" \"")
        .append(dllPath)
        .append("\" \"")
        .append(objPath)
        .append("\" \"")
        .append(resultPath)
        .append("\"");
    DWORD code = 1;
    if (!tollgram::bench::runToEnd(command, code)) return load;
    load.exitCode = code;
    if (code != 0) return load;
    std::FILE* result = std::fopen(resultPath.c_str(), "r");
    if (!result) return load;
    int succeeded = 0;
    const int fields = std::fscanf(result, "%d %lf %lf %lf %lf %lf %lf", &succeeded, &load.seconds, &load.counts.faces,
                                   &load.counts.vertices, &load.counts.corners, &load.peak.workingSetMiB,
                                   &load.peak.pagefileMiB);
    std::fclose(result);
    load.counts.returned = fields == 7;
    load.counts.succeeded = succeeded != 0;
    return load;
}

// The generator writes about 185 bytes a vertex at the larger sides; a
// margin on top, so that a full disk is found before writing, not during.
uint64_t bytesToWrite(uint32_t side) { return uint64_t(side) * side * 200 + (uint64_t(1) << 30); }

void printConditions() {
    const auto* image = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    const bool largeAddressAware = (nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE) != 0;
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    std::printf("%d-bit process, %slarge-address-aware: %.2f GiB of address space for the program\n",
                int(sizeof(void*) * 8), largeAddressAware ? "" : "not ",
                double(memory.ullTotalVirtual) / (1024.0 * 1024.0 * 1024.0));
}

void printLoads(const char* name, const std::vector<Load>& loads, const FileCounts& expected) {
    std::vector<double> seconds, workingSet, pagefile;
    const Load* firstIncomplete = nullptr;
    for (const Load& load : loads) {
        if (!complete(load, expected)) {
            if (!firstIncomplete) firstIncomplete = &load;
            continue;
        }
        seconds.push_back(load.seconds);
        workingSet.push_back(load.peak.workingSetMiB);
        pagefile.push_back(load.peak.pagefileMiB);
    }
    const auto range = [](const std::vector<double>& v, int decimals) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f to %.*f", decimals, *std::min_element(v.begin(), v.end()), decimals,
                      *std::max_element(v.begin(), v.end()));
        return std::string(text);
    };
    std::printf("  %-18s", name);
    if (!seconds.empty()) {
        std::printf(" loaded %zu of %zu: %.0f faces, median %.2f s (%s), peak working set %.0f MiB (%s), "
                    "commit %.0f MiB (%s)\n",
                    seconds.size(), loads.size(), expected.faces, tollgram::bench::median(seconds),
                    range(seconds, 2).c_str(), tollgram::bench::median(workingSet), range(workingSet, 0).c_str(),
                    tollgram::bench::median(pagefile), range(pagefile, 0).c_str());
    } else {
        std::printf(" not loaded\n");
    }
    if (!firstIncomplete) return;
    const Load& load = *firstIncomplete;
    const tollgram::bench::LoadCounts& counts = load.counts;
    if (!counts.returned) {
        std::printf("  %-18s   a load's process ended with code %lu and no result\n", "", load.exitCode);
    } else {
        std::printf("  %-18s   a load %s after %.2f s: %.0f of %.0f faces, %.0f of %.0f vertices", "",
                    counts.succeeded ? "was incomplete" : "failed", load.seconds, counts.faces, expected.faces,
                    counts.vertices, expected.vertices);
        if (counts.corners >= 0) std::printf(", %.0f of %.0f corners", counts.corners, expected.corners);
        std::printf("; peak working set %.0f MiB, commit %.0f MiB\n", load.peak.workingSetMiB, load.peak.pagefileMiB);
    }
}

std::string besideThisProgram(const char* file) {
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return file;
    return (std::filesystem::path(program).parent_path() / file).string();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--load") == 0) {
        const size_t reader = std::strtoul(argv[2], nullptr, 10);
        return reader < kReaderCount ? loadOnce(reader, argv[3], argv[4], argv[5]) : 2;
    }
    std::vector<uint32_t> sides;
    if (!tollgram::bench::parseSides(argc > 1 ? argv[1] : "2000,2800,3400,4000", sides)) {
        std::fprintf(stderr, "usage: capacity_bench [sides, as 2000,2800] [rounds] [Tollgram.dll]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string dllPath = argc > 3 ? argv[3] : besideThisProgram("Tollgram.dll");
    printConditions();
    std::printf("DLL: %s; %d loads per reader and side, each in a fresh process\n", dllPath.c_str(), rounds);

    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("tollgram-capacity-bench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(directory);
    const std::string resultPath = (directory / "result.txt").string();
    uint32_t largest[kReaderCount] = {};
    for (size_t s = 0; s < sides.size(); ++s) {
        const uint32_t side = sides[s];
        ULARGE_INTEGER available{};
        if (!GetDiskFreeSpaceExA(directory.string().c_str(), &available, nullptr, nullptr) ||
            available.QuadPart < bytesToWrite(side)) {
            std::printf("side %u: skipped, %.1f GB free where the file would be written\n", side,
                        double(available.QuadPart) / 1e9);
            continue;
        }
        const auto writeStart = std::chrono::steady_clock::now();
        const tollgram::tools::SculptObj file = tollgram::tools::writeSculptObj(directory.string(), side);
        const double writeSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - writeStart).count();
        std::error_code error;
        const uintmax_t bytes = std::filesystem::file_size(file.objPath, error);  // past 2 GB, ftell's long can't
        const FileCounts expected{double(file.faces), double(side) * side, 4.0 * file.faces};
        std::printf("side %u: %.2f GB, %u vertices (v/vt/vn), %u quads, written in %.0f s\n", side,
                    error ? 0.0 : double(bytes) / 1e9, file.vertices, file.faces, writeSeconds);
        std::vector<Load> loads[kReaderCount];
        for (int round = 0; round < rounds; ++round) {
            for (size_t turn = 0; turn < kReaderCount; ++turn) {
                const size_t reader = (turn + s + size_t(round)) % kReaderCount;
                loads[reader].push_back(loadInFreshProcess(reader, dllPath, file.objPath, resultPath));
            }
        }
        for (size_t r = 0; r < kReaderCount; ++r) {
            printLoads(kReaders[r].name, loads[r], expected);
            const bool everyLoad = std::all_of(loads[r].begin(), loads[r].end(),
                                               [&](const Load& load) { return complete(load, expected); });
            if (everyLoad) largest[r] = std::max(largest[r], side);
        }
        std::fflush(stdout);
        std::filesystem::remove(file.objPath, error);
        std::filesystem::remove(file.mtlPath, error);
    }
    std::filesystem::remove_all(directory);
    std::printf("largest side loaded whole every time:\n");
    for (size_t r = 0; r < kReaderCount; ++r) {
        if (largest[r]) {
            std::printf("  %-18s %u\n", kReaders[r].name, largest[r]);
        } else {
            std::printf("  %-18s none of those tried\n", kReaders[r].name);
        }
    }
    return 0;
}
