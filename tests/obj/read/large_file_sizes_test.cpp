// Files past 2 GiB and 4 GiB as the reader sizes them: the platform's stream
// size and the chunked reader's size hint hold the whole size in every
// build, and leave the stream where the file's first bytes are read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "obj/read/read_plan.h"
#include "obj/read/text_chunks.h"
#include "platform/system.h"
#include "support/large_files.h"
#include "support/scoped_system.h"
#include "support/temp_folder.h"

namespace tollgram::obj {
namespace {

using test::kGiB;

const char kFirstLine[] = "v 1 2 3\n";
constexpr size_t kFirstLineLength = sizeof kFirstLine - 1;

TEST(LargeFileSizes, TheStreamSizeIsTheWholeFileAndTheStreamStaysAtItsStart) {
    const uint64_t sizes[] = {0,
                              kFirstLineLength,
                              (uint64_t{1} << 31) - 1,
                              (uint64_t{1} << 31) + 1,
                              (uint64_t{1} << 32) - 1,
                              uint64_t{1} << 32,
                              (uint64_t{1} << 32) + 7,
                              5 * kGiB + 3};
    test::TempFolder folder;
    const platform::FileCalls& files = platform::systemCalls().files;
    for (const uint64_t size : sizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::string path = folder.at("sparse.obj");
        ASSERT_TRUE(test::makeSparseFile(path, size));
        if (size >= kFirstLineLength) {
            test::PlacedBytes bytes(path);
            ASSERT_TRUE(bytes.place(0, kFirstLine));
            ASSERT_TRUE(bytes.close());
        }
        std::FILE* stream = files.openStream(path.c_str(), "rb");
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(files.streamSize(stream), size);
        char first[kFirstLineLength] = {};
        const platform::StreamRead read = files.readStream(first, sizeof first, stream);
        EXPECT_FALSE(read.failed);
        if (size >= kFirstLineLength) {
            EXPECT_EQ(std::string(first, read.count), kFirstLine);
        } else {
            EXPECT_EQ(read.count, size);
        }
        EXPECT_EQ(files.closeStream(stream), 0);
    }
}

// The size past 4 GiB reaches the read plan whole: the wrapped size (1 MiB)
// would be read by one thread.
TEST(LargeFileSizes, TheReaderPlansAFilePast4GiBByItsWholeSize) {
    test::TempFolder folder;
    const std::string path = folder.at("large.obj");
    const uint64_t size = 4 * kGiB + (uint64_t{1} << 20);
    ASSERT_TRUE(test::makeSparseFile(path, size));
    TextChunks chunks;
    ASSERT_TRUE(chunks.open(path));
    EXPECT_EQ(chunks.sizeHint(), size);

    test::ScopedSystem system;
    system.calls().process.usableProcessors = [] { return 2u; };
    system.calls().process.setting = [](const char*) -> const char* { return nullptr; };
    EXPECT_EQ(planRead(chunks.sizeHint()).threads, 2u);
}

}  // namespace
}  // namespace tollgram::obj
