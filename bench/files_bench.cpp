// The files exports against plain standard-library baselines on the same
// data in the same run: copying a large file (FileCopyTo's 4000-byte blocks
// against std::filesystem::copy_file) and listing a directory
// (GetDirFileList against a directory_iterator that keeps regular files).
// Figures are the best of several rounds, in milliseconds, with their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/call_frame.h"
#include "support/module_reset.h"

namespace fs = std::filesystem;
using tollgram::CallFrame;

namespace {

template <typename Work>
double bestMilliseconds(int rounds, Work work) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count());
    }
    return best;
}

float call(tollgram::ExportWork work, const std::string& text) {
    return tollgram::resultOf(work(CallFrame{text.c_str(), 0.0, nullptr, 0, 0, 0, nullptr}), -1.0f);
}

void report(const char* what, double library, double baseline) {
    std::printf("%-44s library %9.3f ms   baseline %9.3f ms   ratio %5.2f\n", what, library, baseline,
                library / baseline);
}

void benchCopy(const fs::path& folder, size_t megabytes) {
    const fs::path source = folder / "source.bin";
    {
        std::vector<char> block(1 << 20);
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + i / 977);
        std::ofstream out(source, std::ios::binary);
        for (size_t i = 0; i < megabytes; ++i) out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    const std::string destination = (folder / "copy.bin").string();
    call(&tollgram::exports::FileCopyFrom, source.string());
    const double library = bestMilliseconds(5, [&] {
        if (call(&tollgram::exports::FileCopyTo, destination) != 0.0f) std::puts("copy failed");
    });
    const double baseline = bestMilliseconds(5, [&] {
        fs::copy_file(source, destination, fs::copy_options::overwrite_existing);
    });
    const std::string what = "copy of " + std::to_string(megabytes) + " MiB";
    report(what.c_str(), library, baseline);
}

void benchListing(const fs::path& folder, int files) {
    const fs::path directory = folder / ("list" + std::to_string(files));
    fs::create_directory(directory);
    for (int i = 0; i < files; ++i) std::ofstream(directory / ("mesh" + std::to_string(i) + ".obj"));
    for (int i = 0; i < files / 10; ++i) fs::create_directory(directory / ("sub" + std::to_string(i)));
    float listed = 0;
    const double library = bestMilliseconds(20, [&] { listed = call(&tollgram::exports::GetDirFileList, directory.string()); });
    size_t seen = 0;
    const double baseline = bestMilliseconds(20, [&] {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                names.push_back(entry.path().filename().string());
            }
        }
        seen = names.size();
    });
    const std::string what = "listing of " + std::to_string(files) + " files (" +
                             std::to_string(static_cast<int>(listed)) + " fit, " + std::to_string(seen) + " seen)";
    report(what.c_str(), library, baseline);
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / "tollgram-files-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    benchCopy(folder, 64);
    benchListing(folder, 300);
    benchListing(folder, 20000);
    fs::remove_all(folder);
    return 0;
}
