#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/process_resources.h"
#include "support/temp_folder.h"

namespace tollgram {
namespace {

// The long-use figures are only worth something if the counts move: an
// open file is one handle more, and touched memory is resident.
TEST(ProcessResources, AnOpenFileAndTouchedMemoryAreSeen) {
    const test::TempFolder folder;
    const std::string path = folder.at("open.txt");
    const size_t before = test::openHandleCount();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(test::openHandleCount(), before + 1);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_EQ(test::openHandleCount(), before);

    const size_t resident = test::residentBytes();
    EXPECT_GT(resident, 0u);
    std::vector<char> touched(64u << 20, 1);
    EXPECT_GT(test::residentBytes(), resident + (32u << 20)) << "64 MiB written";
    EXPECT_EQ(touched[touched.size() - 1], 1);
}

}  // namespace
}  // namespace tollgram
