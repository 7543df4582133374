// A 4096 × 4096 32-bit texture to a 128 × 128 thumbnail through the real
// export (copy, five halvings, file write), beside a memcpy of the same
// texture as the floor. Goal: the export within 3 × the memcpy.
//
// Usage: thumbnail_bench [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "support/module_reset.h"
#include "substitute_host/substitute_host.h"
#include "thumbnail/abitmap.h"
#include "thumbnail/thumbnail_state.h"

namespace {

constexpr int32_t kSide = 4096;
constexpr double kGoalRatio = 3.0;

double medianMilliseconds(int repetitions, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const size_t bytes = static_cast<size_t>(kSide) * kSide * 4;

    std::vector<uint32_t> image(static_cast<size_t>(kSide) * kSide);
    std::mt19937 random(7);
    for (uint32_t& pixel : image) pixel = static_cast<uint32_t>(random());
    tollgram::substitute::SubstituteHost host;
    host.setTexture(kSide, kSide, 32, image.data());
    const uint8_t* texture = host.texturePixels();

    // The floor: one copy of the texture into memory already touched.
    std::vector<uint8_t> copy(bytes, 1);
    const double memcpyMs = medianMilliseconds(repetitions, [&] {
        std::memcpy(copy.data(), texture, bytes);
        asm volatile("" ::"r"(copy.data()) : "memory");
    });

    // One halving pass of the full texture (with its fresh 16 MiB block),
    // for the breakdown.
    tollgram::thumbnail::ABitMap full;
    full.Allocate(32, kSide, kSide);
    std::memcpy(full.pixels, texture, bytes);
    tollgram::thumbnail::ABitMap half;
    const double halveMs = medianMilliseconds(repetitions, [&] { half.Halve(full); });
    full.Free();
    half.Free();

    const std::string path = (std::filesystem::temp_directory_path() / "tollgram_thumbnail_bench.psd").string();
    tollgram::thumbnail::thumbnailState().thumbnailWidth = 128;
    tollgram::thumbnail::thumbnailState().thumbnailHeight = 128;
    float result = 0.0f;
    const double exportMs = medianMilliseconds(repetitions, [&] {
        result = ::SaveTextureThumbnail(path.c_str(), 0.0, nullptr, 0, 0, 0, host.context());
    });
    std::error_code ignored;
    const auto written = std::filesystem::file_size(path, ignored);
    std::filesystem::remove(path, ignored);
    if (result != 0.0f || written != 40u + 3u * 128u * 128u) {
        std::fprintf(stderr, "SaveTextureThumbnail failed: result %g, file %llu bytes\n", static_cast<double>(result),
                     static_cast<unsigned long long>(written));
        return 1;
    }

    const double ratio = exportMs / memcpyMs;
    std::printf("texture %dx%d, 32-bit, %d repetitions (median)\n", kSide, kSide, repetitions);
    std::printf("memcpy of the texture      %8.2f ms\n", memcpyMs);
    std::printf("one halving pass (4096->2048) %5.2f ms  (%.2fx memcpy)\n", halveMs, halveMs / memcpyMs);
    std::printf("SaveTextureThumbnail to 128 %6.2f ms  (%.2fx memcpy, goal <= %.1fx: %s)\n", exportMs, ratio,
                kGoalRatio, ratio <= kGoalRatio ? "met" : "missed");
    return 0;
}
