// A file of 1,000,000 groups of one face each (18 MB) through the real DLL,
// in the 2 GB address space of a 32-bit host: it loads, the model stays
// well under 300 MB committed, and freeing it gives its memory back for the
// next one. (Its time is measured by bench/many_groups_bench.)
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "abi/abi_dll.h"
#include "support/process_resources.h"
#include "support/temp_folder.h"

namespace {

using tollgram::test::committedBytes;

TEST(ManyGroupsAbi, AMillionOneFaceGroupsLoadAndGo) {
    tollgram::test::TempFolder folder;
    const std::string path = folder.at("groups.obj");
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("v 0 0 0\nv 1 0 0\nv 0 1 0\n", file);
        for (int i = 0; i < 1000000; ++i) std::fprintf(file, "g g%d\nf 1 2 3\n", i);
        std::fclose(file);
    }
    kavrex::MessageBoxCapture boxes;
    kavrex::call("FreeOBJModel");
    const size_t before = committedBytes();
    ASSERT_EQ(kavrex::call("LoadOBJFile", path.c_str()), 1000000.0f);
    const size_t held = committedBytes();
    char name[16] = {};
    EXPECT_EQ(kavrex::call("GetOBJGroupInfo", "name", 1000000.0, name, sizeof name), 0.0f);
    EXPECT_STREQ(name, "g999999");
    kavrex::call("FreeOBJModel");
    const size_t afterFirst = committedBytes();
    ASSERT_EQ(kavrex::call("LoadOBJFile", path.c_str()), 1000000.0f);
    kavrex::call("FreeOBJModel");
    const size_t afterSecond = committedBytes();
    EXPECT_TRUE(boxes.boxes().empty());

    std::printf("a million groups: committed %+.1f MiB held, %+.1f MiB after the first free, %+.1f MiB after the second\n",
                (double(held) - double(before)) / 1048576.0, (double(afterFirst) - double(before)) / 1048576.0,
                (double(afterSecond) - double(before)) / 1048576.0);
    EXPECT_LT(held - before, size_t{300} << 20);
    // The heap keeps some of what the first model freed for the next one, and
    // no more after that.
    EXPECT_LT(afterFirst, before + (size_t{32} << 20));
    EXPECT_LT(afterSecond, afterFirst + (size_t{1} << 20));
}

}  // namespace
