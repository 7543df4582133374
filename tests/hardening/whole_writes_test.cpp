// The writing exports on a full disk, over existing files and on targets that
// are no files, in process (the same cases run through the real DLL in
// tests/abi/whole_writes_abi_test.cpp).
#include <gtest/gtest.h>

#include <cstdio>

#include "support/call_in_process.h"
#include "support/captured_notes.h"
#include "support/kept_targets.h"
#include "support/scoped_system.h"
#include "support/whole_writes.h"
#include "support/writer_scene.h"

namespace tollgram {
namespace {

using test::callInProcess;

TEST(WholeWrites, AWriteThatRunsOutOfRoomChangesNothing) {
    const test::FullDisk disk;
    if (!disk.unavailable().empty()) GTEST_SKIP() << disk.unavailable();
    test::CapturedNotes notes;
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesOnAFullDiskChangeNothing(disk, &callInProcess, scene.context());
    // The thumbnail writer tells of its two short writes, as it always did.
    ASSERT_EQ(notes.count(), 2u);
    EXPECT_EQ(notes.at(0).caption, "FILE WRITE ERROR");
    EXPECT_EQ(notes.at(1).text, "Incomplete file write.");
}

TEST(WholeWrites, AnExistingFileIsReplacedWhole) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesReplaceExistingFiles(&callInProcess, scene.context());
}

TEST(WholeWrites, ATargetThatIsNoFileIsNotWritten) {
    test::CapturedNotes notes;
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesToNoFileAreRefused(&callInProcess, scene.context());
    EXPECT_EQ(notes.count(), 0u);
}

TEST(WholeWrites, ASymbolicLinkIsWrittenThrough) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesGoThroughSymbolicLinks(&callInProcess, scene.context());
}

TEST(WholeWrites, EveryNameOfAFileSeesTheNewContent) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesKeepHardLinks(&callInProcess, scene.context());
}

TEST(WholeWrites, AFileHeldOpenWithSharingIsWritten) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesReachFilesHeldOpen(&callInProcess, scene.context());
}

TEST(WholeWrites, AFileHeldOpenWithDeleteSharingIsWrittenInPlace) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesReachFilesHeldOpen(&callInProcess, scene.context(), test::DeleteSharing::Allowed);
}

TEST(WholeWrites, ASymbolicLinkThatNamesNoFileIsRefused) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectDanglingLinksAreRefused(&callInProcess, scene.context());
}

TEST(WholeWrites, ASparseFileWithTwoNamesKeepsItsContentWithoutRoom) {
    const test::FullDisk disk;
    if (!disk.unavailable().empty()) GTEST_SKIP() << disk.unavailable();
    test::CapturedNotes notes;
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectSparseFilesWithoutRoomKeepTheirContent(disk, &callInProcess, scene.context());
    // Staged whole, then not placed: no short write to tell of.
    EXPECT_EQ(notes.count(), 0u);
}

TEST(WholeWrites, AFileInAFolderClosedToWritesIsWritten) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    test::expectWritesInFoldersClosedToWrites(&callInProcess, scene.context());
}

// A folder that takes no staging file, for any user and on any system.
bool refuseStaging(const char*, platform::StagingPath&) { return false; }

TEST(WholeWrites, AFolderThatTakesNoStagingFileHasItsFilesWrittenInPlace) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    const test::TempFolder folder;
    const test::TempFolder temporary;
    const std::string target = folder.write("target.out", "old");
    const std::string second = folder.at("second.out");
    std::filesystem::create_hard_link(target, second);
    std::vector<std::string> written;
    for (const test::Writer& writer : test::writers()) written.push_back(test::writtenBy(writer, &callInProcess, scene.context()));
    const test::TemporaryFolderMoved moved(temporary.text());
    test::ScopedSystem system;
    system.calls().staging.create = &refuseStaging;
    for (size_t i = 0; i < written.size(); ++i) {
        const test::Writer& writer = test::writers()[i];
        SCOPED_TRACE(writer.name);
        EXPECT_EQ(callInProcess(writer.exportName, target.c_str(), writer.value, scene.context()), 0.0f);
        EXPECT_TRUE(test::contentOf(second) == written[i]) << "another file took the name";
        EXPECT_EQ(callInProcess(writer.exportName, folder.at("new.out").c_str(), writer.value, scene.context()), -1.0f);
        EXPECT_EQ(test::entriesIn(folder.path()), 2u);
        EXPECT_EQ(test::entriesIn(temporary.path()), 0u) << "the staged content stayed";
    }
}

// Staged elsewhere, the content must still find room on the target's disk
// before the target's first byte is overwritten.
TEST(WholeWrites, AnInPlaceWriteThatFindsNoRoomChangesNothing) {
    const test::FullDisk disk;
    if (!disk.unavailable().empty()) GTEST_SKIP() << disk.unavailable();
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    // A thumbnail larger than the block that the old file takes already.
    ASSERT_EQ(callInProcess("SetThumbnail", "width", 64.0, nullptr), 0.0f);
    ASSERT_EQ(callInProcess("SetThumbnail", "height", 64.0, nullptr), 0.0f);
    const test::TempFolder temporary;
    const std::string target = disk.at("target.out");
    disk.clear();
    std::ofstream(target, std::ios::binary) << "old";
    disk.fill();
    const test::TemporaryFolderMoved moved(temporary.text());
    test::ScopedSystem system;
    system.calls().staging.create = &refuseStaging;
    for (const test::Writer& writer : test::writers()) {
        SCOPED_TRACE(writer.name);
        EXPECT_EQ(callInProcess(writer.exportName, target.c_str(), writer.value, scene.context()), -1.0f);
        EXPECT_TRUE(test::contentOf(target) == "old") << "the old content changed";
        EXPECT_EQ(test::entriesIn(temporary.path()), 0u) << "the staged content stayed";
    }
    disk.clear();
}

// The system takes half of a block and then fails, through either way of
// writing: the runtime's stream or the system's own file handle.
size_t halfStreamWrite(const void* buffer, size_t size, std::FILE* stream) {
    return platform::platformSystem().files.writeStream(buffer, size / 2, stream);
}
size_t halfHandleWrite(platform::FileHandle file, const void* bytes, size_t count) {
    return platform::platformSystem().files.write(file, bytes, count / 2);
}

TEST(WholeWrites, AWriteThatFailsPartWayLeavesTheTargetAsItWas) {
    test::CapturedNotes notes;
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    const test::TempFolder folder;
    const std::string old(70000, 'o');
    const std::string target = folder.write("target.out", old);
    test::ScopedSystem system;
    system.calls().files.writeStream = &halfStreamWrite;
    system.calls().files.write = &halfHandleWrite;
    for (const test::Writer& writer : test::writers()) {
        SCOPED_TRACE(writer.name);
        EXPECT_EQ(callInProcess(writer.exportName, target.c_str(), writer.value, scene.context()), -1.0f);
        EXPECT_TRUE(test::contentOf(target) == old) << "the old content changed";
        EXPECT_EQ(callInProcess(writer.exportName, folder.at("new.out").c_str(), writer.value, scene.context()), -1.0f);
        EXPECT_EQ(test::entriesIn(folder.path()), 1u) << "a staging file or a new file stayed";
    }
    // The thumbnail writer tells of its short writes, as it always did.
    ASSERT_EQ(notes.count(), 2u);
    EXPECT_EQ(notes.at(0).caption, "FILE WRITE ERROR");
    EXPECT_EQ(notes.at(1).text, "Incomplete file write.");
}

}  // namespace
}  // namespace tollgram
