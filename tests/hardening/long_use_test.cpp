// Long use as a script session sees it: thousands of load, query, export
// and free cycles on one model, and thousands of thumbnails, with the
// process's resident memory flat and no file handle left open.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "support/module_reset.h"
#include "frame/sanitizers.h"
#include "obj/current_model.h"
#include "obj/temp_files.h"
#include "obj_generator/sculpt_obj.h"
#include "substitute_host/substitute_host.h"
#include "support/process_resources.h"


namespace tollgram {
namespace {

// Under AddressSanitizer every cycle is several times slower and freed
// memory sits in quarantine, so resident memory says nothing about leaks:
// there fewer cycles run, for LeakSanitizer to see every path, and memory
// is not compared.
#if defined(TOLLGRAM_ADDRESS_SANITIZER)
constexpr int kCycles = 2000;
constexpr bool kMemoryIsMeaningful = false;
#else
constexpr int kCycles = 10000;
constexpr bool kMemoryIsMeaningful = true;
#endif
constexpr int kWarmUpCycles = 14;  // every export kind twice, so the heap has seen each
constexpr size_t kAllowedGrowth = 4u << 20;

double mebibytes(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Resources and time around the measured cycles.
class Measure {
public:
    Measure() : handles_(test::openHandleCount()), resident_(test::residentBytes()), start_(Clock::now()) {}

    // Prints and records the figures, then checks them.
    void report(const char* what, int cycles) {
        const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
        const size_t handles = test::openHandleCount();
        const size_t resident = test::residentBytes();
        char line[256];
        std::snprintf(line, sizeof line, "long use: %d %s, resident %.1f MiB -> %.1f MiB, handles %zu -> %zu, %.1f s",
                      cycles, what, mebibytes(resident_), mebibytes(resident), handles_, handles, seconds);
        std::printf("%s\n", line);
        ::testing::Test::RecordProperty(what, line);
        EXPECT_EQ(handles, handles_) << what;
        EXPECT_GT(resident_, 0u) << "resident memory could not be read";
        if (kMemoryIsMeaningful) {
            EXPECT_LT(resident, resident_ + kAllowedGrowth) << what << ": resident memory grew";
        }
    }

private:
    using Clock = std::chrono::steady_clock;
    size_t handles_;
    size_t resident_;
    Clock::time_point start_;
};

float call(decltype(&::GetOBJInfo) function, const char* text, double value = 0.0, char* buffer = nullptr,
           int32_t size = 0, void* context = nullptr) {
    return function(text, value, buffer, size, 0, 0, context);
}

TEST(LongUse, LoadQueryExportAndFreeCycles) {
    test::TempFolder dir{test::PathForm::Generic};
    // 40 × 40 vertices, 1521 quads with v/vt/vn corners, six groups, four
    // materials, two smoothing groups.
    const tools::SculptObj sculpt = tools::writeSculptObj(dir.path().generic_string(), 40);
    ASSERT_EQ(sculpt.faces, 1521u);
    const std::string exportPath = dir.pathOf("export.obj");
    char name[64];

    // One cycle; the number of its results that were not as expected.
    auto cycle = [&](int i) {
        int wrong = 0;
        wrong += call(::LoadOBJFile, sculpt.objPath.c_str()) != 6.0f;
        wrong += call(::GetOBJInfo, "vertexCount") != 1600.0f;
        wrong += call(::GetOBJInfo, "faceCount") != 1521.0f;
        wrong += call(::GetOBJGroupInfo, "name", i % 6 + 1, name, sizeof name) != 0.0f;
        wrong += !(call(::GetOBJGroupInfo, "vertexCount", i % 6 + 1) > 0.0f);
        wrong += call(::GetOBJSmoothGroupInfo, "count") != 2.0f;
        wrong += call(::GetOBJSmoothGroupInfo, "value", 2.0) != 2.0f;
        // 0 is the whole model, 1 to 6 the groups.
        wrong += call(::ExportOBJGroup, exportPath.c_str(), i % 7) != 0.0f;
        wrong += call(::FreeOBJModel, nullptr) != 0.0f;
        wrong += obj::objState().currentModel != nullptr;
        return wrong;
    };

    int wrong = 0;
    for (int i = 0; i < kWarmUpCycles; ++i) wrong += cycle(i);
    Measure measure;
    for (int i = 0; i < kCycles; ++i) wrong += cycle(i);
    measure.report("load/query/export/free cycles", kCycles);
    EXPECT_EQ(wrong, 0) << "unexpected results";
}

TEST(LongUse, Thumbnails) {
    test::TempFolder dir{test::PathForm::Generic};
    const std::string path = dir.pathOf("thumbnail.psd");
    substitute::SubstituteHost host;
    // 256 × 192 to 64 × 64: halved twice, then padded by 8 rows above and
    // below.
    std::vector<uint32_t> pixels(256 * 192);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u);
    host.setTexture(256, 192, 32, pixels.data());
    auto thumbnail = [&] { return call(::SaveTextureThumbnail, path.c_str(), 64.0, nullptr, 0, host.context()); };

    int failed = 0;
    for (int i = 0; i < kWarmUpCycles; ++i) failed += thumbnail() != 0.0f;
    Measure measure;
    for (int i = 0; i < kCycles; ++i) failed += thumbnail() != 0.0f;
    measure.report("thumbnails", kCycles);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(std::filesystem::file_size(path), 40u + 3u * 64u * 64u);
}

}  // namespace
}  // namespace tollgram
