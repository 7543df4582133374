// Thumbnails with each allocation of the pipeline failing in turn: the
// export fails with its code and the out-of-memory note, leaves the file it
// was to write as it was, and holds no pixels afterwards (LeakSanitizer).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/call_frame.h"
#include "frame/tracked_alloc.h"
#include "hardening/allocation_failures.h"
#include "hardening/failure_walk.h"
#include "obj/temp_files.h"
#include "substitute_host/substitute_host.h"
#include "support/export_work.h"

namespace tollgram {
namespace {

std::vector<uint32_t> gradient(int32_t width, int32_t height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u);
    return pixels;
}

struct Case {
    const char* name;
    int32_t width, height;
    int minimumPoints;
};

// 300 × 200 to 64: halved twice, thinned to 64 columns, padded to 64 rows,
// written: four allocations. 48 × 40 to 64: copied, padded, written.
const Case kCases[] = {
    {"halved, thinned and padded", 300, 200, 4},
    {"copied and padded", 48, 40, 3},
};

constexpr const char* kEarlierContent = "an earlier file";
constexpr double kSide = 64.0;

TEST(ThumbnailAllocation, EveryFailureFailsTheExportAndLeavesTheFile) {
    test::TempFolder dir{test::PathForm::Generic};
    const std::string path = dir.pathOf("thumbnail.psd");
    test::CapturedNotes notes;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        substitute::SubstituteHost host;
        const std::vector<uint32_t> pixels = gradient(c.width, c.height);
        host.setTexture(c.width, c.height, 32, pixels.data());
        const CallFrame save{path.c_str(), kSide, nullptr, 0, 0, 0, host.context()};

        ASSERT_EQ(tollgram::test::resultOfWork(&tollgram::exports::SaveTextureThumbnail, save), 0.0f);
        const std::string expected = test::contentOf(path);
        ASSERT_EQ(expected.size(), 40u + 3u * 64u * 64u);

        const long points = test::walkFailurePoints(c.name, [&](long n) {
            dir.write("thumbnail.psd", kEarlierContent);
            notes.clear();
            float result = -99.0f;
            bool reached = false;
            {
                test::AllocationFailures failures(n);
                EXPECT_NO_THROW(result = tollgram::test::resultOfWork(&tollgram::exports::SaveTextureThumbnail, save));
                reached = failures.failed();
            }
            if (result == -1.0f) {
                EXPECT_TRUE(reached) << "failed without a failed allocation";
                EXPECT_EQ(test::contentOf(path), kEarlierContent) << "a failed thumbnail changed the file";
                EXPECT_EQ(notes.count(), 1u);
                EXPECT_STREQ(notes.lastCaption(), kOutOfMemoryCaption);
                const bool knownCaller = std::strcmp(notes.lastText(), "ABitMap::Allocate") == 0 ||
                                         std::strcmp(notes.lastText(), "SaveBMapPlanes") == 0;
                EXPECT_TRUE(knownCaller) << notes.lastText();
            } else {
                EXPECT_EQ(result, 0.0f);
                EXPECT_EQ(test::contentOf(path), expected);
            }
            return reached;
        });
        EXPECT_GE(points, c.minimumPoints);
    }
}

}  // namespace
}  // namespace tollgram
