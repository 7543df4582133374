// Writes on POSIX to targets that replacing could not reach: targets
// thousands of characters long.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/call_in_process.h"
#include "support/kept_targets.h"
#include "support/temp_folder.h"
#include "support/whole_writes.h"
#include "support/writer_scene.h"

namespace tollgram {
namespace {

using test::callInProcess;

// A file of exactly length characters in folder, through folders of 200
// characters each.
std::string pathOfLength(const test::TempFolder& folder, size_t length) {
    std::string path = folder.text();
    while (length - path.size() > 250) path += "/" + std::string(200, 'd');
    std::filesystem::create_directories(path);
    return path + "/" + std::string(length - path.size() - 5, 'n') + ".out";
}

TEST(LongTargets, TargetsOfThousandsOfCharactersAreWrittenNewAndOver) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    for (const size_t length : {size_t{1175}, size_t{1778}, size_t{3185}}) {
        const test::TempFolder folder;
        const std::string target = pathOfLength(folder, length);
        ASSERT_EQ(target.size(), length);
        const std::filesystem::path parent = std::filesystem::path(target).parent_path();
        for (const test::Writer& writer : test::writers()) {
            SCOPED_TRACE(std::string(writer.name) + ", " + std::to_string(length) + " characters");
            const std::string bytes = test::writtenBy(writer, &callInProcess, scene.context());
            std::filesystem::remove(target);
            EXPECT_EQ(callInProcess(writer.exportName, target.c_str(), writer.value, scene.context()), 0.0f) << "new";
            EXPECT_TRUE(test::contentOf(target) == bytes);
            std::ofstream(target, std::ios::binary) << std::string(100000, 'o');
            EXPECT_EQ(callInProcess(writer.exportName, target.c_str(), writer.value, scene.context()), 0.0f) << "over";
            EXPECT_TRUE(test::contentOf(target) == bytes);
            EXPECT_EQ(test::entriesIn(parent), 1u) << "a staging file stayed";
        }
    }
}

}  // namespace
}  // namespace tollgram
#endif
