// The writing exports of the real DLL on a full disk and on targets that are
// no files: a failed write leaves the target exactly as it was.
#include <gtest/gtest.h>

#include "abi/abi_dll.h"
#include "support/kept_targets.h"
#include "support/whole_writes.h"
#include "support/writer_scene.h"

namespace {

float callDll(const char* name, const char* text, double value, void* context) {
    return kavrex::call(name, text, value, nullptr, 0, context);
}

TEST(WholeWritesAbi, AWriteThatRunsOutOfRoomChangesNothing) {
    const tollgram::test::FullDisk disk;
    if (!disk.unavailable().empty()) GTEST_SKIP() << disk.unavailable();
    kavrex::MessageBoxCapture boxes;
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectWritesOnAFullDiskChangeNothing(disk, &callDll, scene.context());
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].caption, "FILE WRITE ERROR");
    EXPECT_EQ(boxes.boxes()[1].text, "Incomplete file write.");
}

TEST(WholeWritesAbi, AnExistingFileIsReplacedWhole) {
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectWritesReplaceExistingFiles(&callDll, scene.context());
}

TEST(WholeWritesAbi, ATargetThatIsNoFileIsNotWritten) {
    kavrex::MessageBoxCapture boxes;
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectWritesToNoFileAreRefused(&callDll, scene.context());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(WholeWritesAbi, ASymbolicLinkIsWrittenThrough) {
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectWritesGoThroughSymbolicLinks(&callDll, scene.context());
}

TEST(WholeWritesAbi, EveryNameOfAFileSeesTheNewContent) {
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectWritesKeepHardLinks(&callDll, scene.context());
}

TEST(WholeWritesAbi, AFileHeldOpenWithSharingIsWrittenAndNothingStaysBeside) {
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectWritesReachFilesHeldOpen(&callDll, scene.context());
}

TEST(WholeWritesAbi, AFileHeldOpenWithDeleteSharingIsWrittenInPlace) {
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectWritesReachFilesHeldOpen(&callDll, scene.context(), tollgram::test::DeleteSharing::Allowed);
}

TEST(WholeWritesAbi, ASymbolicLinkThatNamesNoFileIsRefused) {
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectDanglingLinksAreRefused(&callDll, scene.context());
}

TEST(WholeWritesAbi, ASparseFileWithTwoNamesKeepsItsContentWithoutRoom) {
    const tollgram::test::FullDisk disk;
    if (!disk.unavailable().empty()) GTEST_SKIP() << disk.unavailable();
    kavrex::MessageBoxCapture boxes;
    tollgram::test::WriterScene scene(&callDll);
    ASSERT_TRUE(scene.ready());
    tollgram::test::expectSparseFilesWithoutRoomKeepTheirContent(disk, &callDll, scene.context());
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
