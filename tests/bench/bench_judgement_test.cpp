// The benchmarks' own judgements, which decide what their figures say: a
// load counted as whole only when it holds every face, vertex and corner,
// the sides a capacity run is given, and the ratio of median peaks.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench/capacity_check.h"
#include "bench/peak_report.h"

namespace tollgram::bench {
namespace {

LoadCounts returnedLoad(double faces, double vertices, double corners) {
    LoadCounts load;
    load.returned = true;
    load.succeeded = true;
    load.faces = faces;
    load.vertices = vertices;
    load.corners = corners;
    return load;
}

TEST(LoadedWhole, CountsOnlyALoadHoldingTheWholeFile) {
    const FileCounts file{7834401, 7840000, 4.0 * 7834401};
    EXPECT_TRUE(loadedWhole(returnedLoad(7834401, 7840000, 4.0 * 7834401), file));
    // A reader that stores fewer corners than the file has, without failing.
    EXPECT_FALSE(loadedWhole(returnedLoad(7834401, 7840000, 4.0 * 7834401 - 4), file));
    EXPECT_FALSE(loadedWhole(returnedLoad(7834400, 7840000, 4.0 * 7834401), file));
    EXPECT_FALSE(loadedWhole(returnedLoad(7834401, 7839999, 4.0 * 7834401), file));
    // A reader that tells no corners is judged by faces and vertices.
    EXPECT_TRUE(loadedWhole(returnedLoad(7834401, 7840000, -1), file));
    EXPECT_FALSE(loadedWhole(returnedLoad(0, 0, -1), file));
}

TEST(LoadedWhole, RefusesALoadThatFailedOrNeverReported) {
    const FileCounts file{99, 100, 396};
    LoadCounts failed = returnedLoad(99, 100, 396);
    failed.succeeded = false;
    EXPECT_FALSE(loadedWhole(failed, file));
    LoadCounts ended = returnedLoad(99, 100, 396);
    ended.returned = false;
    EXPECT_FALSE(loadedWhole(ended, file));
}

TEST(LoadedWhole, ComparesCountsPastTwoToThe24AsTheExportAnswersThem) {
    // Side 4200: 4199^2 faces, which a float holds only to the nearest even.
    const double faces = 4199.0 * 4199.0;
    const FileCounts file{faces, 4200.0 * 4200.0, 4 * faces};
    EXPECT_TRUE(loadedWhole(returnedLoad(double(float(faces)), double(float(4200.0 * 4200.0)), -1), file));
    EXPECT_FALSE(loadedWhole(returnedLoad(faces - 64, 4200.0 * 4200.0, -1), file));
}

TEST(ParseSides, ReadsAListAndRefusesAnythingElse) {
    std::vector<uint32_t> sides;
    ASSERT_TRUE(parseSides("2000,2800,3400,4000", sides));
    EXPECT_EQ(sides, (std::vector<uint32_t>{2000, 2800, 3400, 4000}));
    for (const char* text : {"", "2000,", ",2000", "2000,,2800", "1", "65536", "2000;2800", "side", "-3"}) {
        std::vector<uint32_t> none;
        EXPECT_FALSE(parseSides(text, none)) << text;
    }
}

TEST(PrintPeaks, SetsEachMedianBesideTheBaselinesMedian) {
    const char* const names[] = {"ours", "skipped", "peer"};
    const std::vector<double> peaks[] = {{30, 10, 20}, {}, {4, 7, 5, 6}};
    testing::internal::CaptureStdout();
    printPeaks("peaks", names, peaks, 3, 2);
    const std::string text = testing::internal::GetCapturedStdout();
    EXPECT_NE(text.find("ours"), std::string::npos);
    // 20 beside the median of an even count, (5 + 6) / 2.
    EXPECT_NE(text.find("20.0 MiB (10.0 to 30.0)  3.64x"), std::string::npos) << text;
    EXPECT_NE(text.find("5.5 MiB (4.0 to 7.0)  1.00x"), std::string::npos) << text;
    EXPECT_EQ(text.find("skipped"), std::string::npos) << text;
}

TEST(PrintPeaks, PrintsNoRatioWithoutTheBaseline) {
    const char* const names[] = {"ours", "peer"};
    const std::vector<double> peaks[] = {{12}, {}};
    testing::internal::CaptureStdout();
    printPeaks("peaks", names, peaks, 2, 1);
    const std::string text = testing::internal::GetCapturedStdout();
    EXPECT_NE(text.find("12.0 MiB"), std::string::npos) << text;
    EXPECT_EQ(text.find("x\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace tollgram::bench
