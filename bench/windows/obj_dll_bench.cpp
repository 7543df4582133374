// Reading a ~100 MB sculpt-like OBJ file through the product itself:
// Tollgram.dll loaded by name and LoadOBJFile called with the host's frame,
// timed in this process, with one thread and with all threads, and, when
// the build is given the peer readers' folder, beside fast_obj built the
// same way (32-bit, same compiler). Round after round, every reader once per
// round in turn; reports the first load of the process apart, then the
// median with its range. Run by hand under Wine:
//   tools/wine-run.sh build/win32/bin/obj_dll_bench.exe [side] [rounds]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "obj_generator/sculpt_obj.h"
#include "tollgram.h"

#ifdef TOLLGRAM_HAVE_PEER_READERS
#include <fast_obj/fast_obj.h>
#endif

#include "../median.h"

namespace {

using ExportFunction = TollgramExportFunction;

ExportFunction loadModel = nullptr;
ExportFunction freeModel = nullptr;

using tollgram::bench::median;

struct Reader {
    const char* name;
    const char* threads;  // TOLLGRAM_READ_THREADS while it reads; empty: unset
    size_t (*read)(const std::string& path);
    std::vector<double> seconds;
    double first = -1;
};

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

}  // namespace

int main(int argc, char** argv) {
    const uint32_t side = argc > 1 ? uint32_t(std::atoi(argv[1])) : 750;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    HMODULE dll = LoadLibraryA("Tollgram.dll");
    if (dll) {
        loadModel = reinterpret_cast<ExportFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "LoadOBJFile")));
        freeModel = reinterpret_cast<ExportFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "FreeOBJModel")));
    }
    if (!loadModel || !freeModel) {
        std::printf("Tollgram.dll or its exports not found\n");
        return 1;
    }
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("tollgram-dll-bench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(directory);
    const auto file = tollgram::tools::writeSculptObj(directory.string(), side);
    std::printf("file: %.1f MB, %u vertices (v/vt/vn), %u quads; %d rounds in one process\n",
                double(file.bytes) / 1e6, file.vertices, file.faces, rounds);

    std::vector<Reader> readers = {{"LoadOBJFile, 1 thread", "1", readWithDll, {}},
                                   {"LoadOBJFile, all threads", "", readWithDll, {}}};
#ifdef TOLLGRAM_HAVE_PEER_READERS
    readers.push_back({"fast_obj (32-bit)", "", readWithFastObj, {}});
#endif
    bool failed = false;
    for (int round = 0; round <= rounds && !failed; ++round) {
        for (size_t i = 0; i < readers.size(); ++i) {
            Reader& reader = readers[(i + size_t(round)) % readers.size()];
            // The library's C runtime is the program's (msvcrt), so it sees this.
            const std::string setting = std::string("TOLLGRAM_READ_THREADS=") + reader.threads;
            _putenv(setting.c_str());
            const auto start = std::chrono::steady_clock::now();
            const size_t got = reader.read(file.objPath);
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!got) {
                std::printf("%s failed\n", reader.name);
                failed = true;
                break;
            }
            if (reader.first < 0) {
                reader.first = seconds;  // the first load of the process, apart
            } else {
                reader.seconds.push_back(seconds);
            }
        }
    }
    std::filesystem::remove_all(directory);
    if (failed) return 1;
    for (const Reader& r : readers) {
        std::printf("%-26s first %.3f s, then median %.3f s (%.3f to %.3f)\n", r.name, r.first, median(r.seconds),
                    *std::min_element(r.seconds.begin(), r.seconds.end()),
                    *std::max_element(r.seconds.begin(), r.seconds.end()));
    }
#ifdef TOLLGRAM_HAVE_PEER_READERS
    std::printf("medians: all threads %.2fx fast_obj's time (goal 0.6x), one thread %.2fx\n",
                median(readers[1].seconds) / median(readers[2].seconds),
                median(readers[0].seconds) / median(readers[2].seconds));
#endif
    return 0;
}
