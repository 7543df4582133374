// The memory a read of very long lines takes: a file of vertex lines of
// about 12 MB each (a position and millions of numbers after it, which the
// reader ignores), read with one thread and with eight, alternately, every
// read in a fresh process. Reports the peak resident memory each read added
// (median and range) and the ratio of the eight-thread peak to the
// one-thread peak. Linux only: the peak comes from /proc/self/status.
//   long_lines_memory_bench [rounds] [lines] [line MB]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"

#include "median.h"
#include "process_status.h"

namespace {

using tollgram::bench::statusKiB;

// One read in this process: "peakKiB vertices" on standard output.
int readOnce(const char* path) {
    const long before = statusKiB("VmRSS:");
    tollgram::obj::OBJModel model;
    const bool read = model.readOBJ(path);
    std::printf("%ld %u\n", statusKiB("VmHWM:") - before, model._vertices._count);
    return read ? 0 : 1;
}

bool readInFreshProcess(const char* threads, const std::string& path, long& peakKiB, unsigned& vertices) {
    setenv("TOLLGRAM_READ_THREADS", threads, 1);
    const std::string command =
        "'" + std::filesystem::read_symlink("/proc/self/exe").string() + "' --read '" + path + "'";
    std::FILE* child = popen(command.c_str(), "r");
    if (!child) return false;
    const int fields = std::fscanf(child, "%ld %u", &peakKiB, &vertices);
    return pclose(child) == 0 && fields == 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--read") == 0) return readOnce(argv[2]);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int lines = argc > 2 ? std::max(1, std::atoi(argv[2])) : 24;
    const size_t lineBytes = size_t(argc > 3 ? std::max(1, std::atoi(argv[3])) : 12) * 1000000;
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("tollgram-long-lines-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const std::string path = (directory / "long.obj").string();
    {
        std::string line = "v 1 2 3";
        while (line.size() + 2 < lineBytes) line += " 4";
        line += "\n";
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < lines; ++i) out << line;
        out << "f 1 2 3\n";
    }
    std::printf("file: %d lines of %.1f MB; %d rounds, one thread and eight alternately, each a fresh process\n",
                lines, double(lineBytes) / 1e6, rounds);
    const char* const threads[] = {"1", "8"};
    std::vector<double> peaks[2];
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        double peak[2] = {0, 0};
        for (int turn = 0; turn < 2; ++turn) {
            const int t = (turn + round) % 2;  // each goes first every other round
            long peakKiB = 0;
            unsigned vertices = 0;
            if (!readInFreshProcess(threads[t], path, peakKiB, vertices) || vertices != unsigned(lines)) {
                std::fprintf(stderr, "the read with %s threads failed\n", threads[t]);
                return 1;
            }
            peak[t] = double(peakKiB) / 1024.0;
            peaks[t].push_back(peak[t]);
        }
        ratios.push_back(peak[1] / peak[0]);
    }
    for (int t = 0; t < 2; ++t) {
        std::printf("  %s thread(s): peak +%.1f MiB (%.1f to %.1f)\n", threads[t], tollgram::bench::median(peaks[t]),
                    *std::min_element(peaks[t].begin(), peaks[t].end()),
                    *std::max_element(peaks[t].begin(), peaks[t].end()));
    }
    std::printf("  eight against one: ratio of medians %.2fx (rounds %.2f to %.2f)\n",
                tollgram::bench::median(peaks[1]) / tollgram::bench::median(peaks[0]),
                *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
    std::filesystem::remove_all(directory);
    return 0;
}
