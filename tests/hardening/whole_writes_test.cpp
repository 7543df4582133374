// The writing exports on a full disk, over existing files and on targets that
// are no files, in process (the same cases run through the real DLL in
// tests/abi/whole_writes_abi_test.cpp).
#include <gtest/gtest.h>

#include <cstring>

#include "frame/exports.h"
#include "support/captured_notes.h"
#include "support/whole_writes.h"
#include "support/writer_scene.h"

namespace tollgram {
namespace {

float callInProcess(const char* name, const char* text, double value, void* context) {
    struct Named {
        const char* name;
        float (*function)(const char*, double, char*, int32_t, uint32_t, uint32_t, void*);
    };
    static const Named exports[] = {
#define TOLLGRAM_EXPORT(name, failure) {#name, &::name},
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    };
    for (const Named& e : exports) {
        if (std::strcmp(e.name, name) == 0) return e.function(text, value, nullptr, 0, 0, 0, context);
    }
    ADD_FAILURE() << "no export " << name;
    return -12345.0f;
}

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

}  // namespace
}  // namespace tollgram
