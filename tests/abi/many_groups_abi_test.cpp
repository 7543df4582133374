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
using tollgram::test::heapBytesInUse;

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
    const size_t heapBefore = heapBytesInUse();
    ASSERT_EQ(kavrex::call("LoadOBJFile", path.c_str()), 1000000.0f);
    const size_t held = committedBytes();
    char name[16] = {};
    EXPECT_EQ(kavrex::call("GetOBJGroupInfo", "name", 1000000.0, name, sizeof name), 0.0f);
    EXPECT_STREQ(name, "g999999");
    kavrex::call("FreeOBJModel");
    const size_t afterFirst = committedBytes();
    const size_t heapAfter = heapBytesInUse();
    ASSERT_EQ(kavrex::call("LoadOBJFile", path.c_str()), 1000000.0f);
    kavrex::call("FreeOBJModel");
    const size_t afterSecond = committedBytes();
    EXPECT_TRUE(boxes.boxes().empty());

    auto mib = [&](size_t bytes, size_t from) { return (double(bytes) - double(from)) / 1048576.0; };
    std::printf("a million groups: committed %+.1f MiB held, %+.1f MiB after the first free (heap blocks in use "
                "%+.1f MiB), %+.1f MiB after the second\n",
                mib(held, before), mib(afterFirst, before), mib(heapAfter, heapBefore), mib(afterSecond, before));
    EXPECT_LT(held - before, size_t{300} << 20);
    // Every block of the model is given back; the runtime's heap may keep
    // some of their room committed for the next one, and no more after that.
    EXPECT_LT(heapAfter, heapBefore + (size_t{1} << 20));
    EXPECT_LT(afterSecond, afterFirst + (size_t{1} << 20));
}

}  // namespace
