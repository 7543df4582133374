#pragma once
// Writes keep what the target is, through any way of calling the exports by
// name (in process, or through the real DLL): the file a symbolic link names
// gets the content and the link stays; a file with two names, one another
// program holds open and one in a folder closed to writes is written in
// place, so every name and every holder sees the new content. No staging
// file stays behind anywhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/target_kinds.h"
#include "support/temp_folder.h"
#include "support/whole_writes.h"

namespace tollgram::test {

inline size_t entriesIn(const std::filesystem::path& folder) {
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++entries;
    }
    return entries;
}

// The bytes the writer writes to a new file.
inline std::string writtenBy(const Writer& writer, CallByName call, void* context) {
    const TempFolder folder;
    const std::string path = folder.at("reference.out");
    EXPECT_EQ(call(writer.exportName, path.c_str(), writer.value, context), 0.0f) << "a new file";
    return contentOf(path);
}

inline void expectWritesGoThroughSymbolicLinks(CallByName call, void* context) {
    const TempFolder here;
    const TempFolder there;
    const std::string linked = there.write("linked.out", "old");
    const std::string link = here.at("link.out");
    const std::string unavailable = makeSymbolicLink(linked, link);
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string bytes = writtenBy(writer, call, context);
        there.write("linked.out", "old");
        EXPECT_EQ(call(writer.exportName, link.c_str(), writer.value, context), 0.0f);
        EXPECT_TRUE(contentOf(linked) == bytes) << "the linked file has other bytes";
        // Still a link: a change to the linked file shows through it.
        there.write("linked.out", "changed");
        EXPECT_EQ(contentOf(link), "changed");
        EXPECT_EQ(entriesIn(here.path()), 1u) << "only the link";
        EXPECT_EQ(entriesIn(there.path()), 1u) << "only the linked file";
    }
}

inline void expectWritesKeepHardLinks(CallByName call, void* context) {
    const TempFolder folder;
    const std::string first = folder.write("first.out", std::string(200000, 'o'));
    const std::string second = folder.at("second.out");
    std::filesystem::create_hard_link(first, second);
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string bytes = writtenBy(writer, call, context);
        EXPECT_EQ(call(writer.exportName, first.c_str(), writer.value, context), 0.0f);
        EXPECT_TRUE(contentOf(first) == bytes) << "the name written to";
        EXPECT_TRUE(contentOf(second) == bytes) << "the other name";
        EXPECT_EQ(entriesIn(folder.path()), 2u) << "a staging file stayed";
        // Still one file: a change through one name shows through the other.
        std::ofstream(second, std::ios::binary) << "changed";
        EXPECT_EQ(contentOf(first), "changed");
    }
}

inline void expectWritesReachFilesHeldOpen(CallByName call, void* context,
                                           DeleteSharing deleting = DeleteSharing::Refused) {
    const TempFolder folder;
    const std::string target = folder.write("held.out", std::string(200000, 'o'));
    const HeldOpenFile holder(target, deleting);
    ASSERT_TRUE(holder.held());
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string bytes = writtenBy(writer, call, context);
        EXPECT_EQ(call(writer.exportName, target.c_str(), writer.value, context), 0.0f);
        EXPECT_TRUE(contentOf(target) == bytes);
#if defined(_WIN32)
        // The file the holder has open is the one written, not a successor.
        EXPECT_TRUE(holder.content() == bytes) << "the holder sees other bytes";
#endif
        EXPECT_EQ(entriesIn(folder.path()), 1u) << "a staging or backup file stayed";
    }
}

// The folder where the content is staged instead is the system's temporary
// folder, moved for the test so that whatever stays there is seen.
inline void expectWritesInFoldersClosedToWrites(CallByName call, void* context) {
    const TempFolder folder;
    const TempFolder temporary;
    const std::string target = folder.write("target.out", std::string(200000, 'o'));
    const std::string missing = folder.at("new.out");
    const TemporaryFolderMoved moved(temporary.text());
    const FolderClosedToWrites closed(folder.text());
    if (closed.writable()) GTEST_SKIP() << "this user adds files to any folder (root, or Windows)";
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string bytes = writtenBy(writer, call, context);
        EXPECT_EQ(call(writer.exportName, target.c_str(), writer.value, context), 0.0f);
        EXPECT_TRUE(contentOf(target) == bytes);
        EXPECT_EQ(call(writer.exportName, missing.c_str(), writer.value, context), -1.0f) << "a new file";
        EXPECT_EQ(entriesIn(folder.path()), 1u);
        EXPECT_EQ(entriesIn(temporary.path()), 0u) << "the staged content stayed";
    }
}

// A symbolic link that names no file yet is refused on every platform:
// the link stays, and nothing is made where it points or beside it.
inline void expectDanglingLinksAreRefused(CallByName call, void* context) {
    const TempFolder there;
    const std::filesystem::path models = there.path() / "models";
    for (const std::string& named : {there.at("head.out"), (models / "head.out").string()}) {
        // A folder of its own for each link: Wine removes what a link names,
        // not the link.
        const TempFolder here;
        const std::string link = here.at("current.out");
        // Made to a file that is then removed, with its folder: Wine shows
        // no link that names nothing, so none could be waited for.
        std::filesystem::create_directories(std::filesystem::path(named).parent_path());
        std::ofstream(named, std::ios::binary) << "gone";
        const std::string unavailable = makeSymbolicLink(named, link);
        if (!unavailable.empty()) GTEST_SKIP() << unavailable;
        std::filesystem::remove(named);
        std::filesystem::remove(models);
        for (const Writer& writer : writers()) {
            SCOPED_TRACE(std::string(writer.name) + " through a link to " + named);
            EXPECT_EQ(call(writer.exportName, link.c_str(), writer.value, context), -1.0f);
            EXPECT_EQ(entriesIn(there.path()), 0u) << "a file was made where the link points";
        }
        // Still the link: once the file it names is made, it shows through.
        std::filesystem::create_directories(std::filesystem::path(named).parent_path());
        std::ofstream(named, std::ios::binary) << "made later";
        EXPECT_EQ(contentOf(link), "made later") << "the link was replaced";
        EXPECT_EQ(entriesIn(here.path()), 1u) << "a staging file stayed";
        std::filesystem::remove(named);
    }
}

// The pages of a file of zeros that hold something else.
inline size_t pagesWritten(const std::string& bytes) {
    size_t pages = 0;
    for (size_t at = 0; at < bytes.size(); at += FullDisk::kPage) {
        const std::string page = bytes.substr(at, FullDisk::kPage);
        pages += page.find_first_not_of('\0') != std::string::npos ? 1 : 0;
    }
    return pages;
}

// A file with two names whose blocks are all holes (grown without being
// written) takes room only as it is written. With room for the staged
// content but not for writing it in place as well, every writer fails and
// both names keep the old bytes.
inline void expectSparseFilesWithoutRoomKeepTheirContent(const FullDisk& disk, CallByName call, void* context) {
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string bytes = writtenBy(writer, call, context);
        const std::string old(bytes.size() + FullDisk::kPage, '\0');
        disk.clear();
        const std::string target = disk.at("target.out");
        const std::string second = disk.at("second.out");
        std::ofstream(target, std::ios::binary).close();
        std::filesystem::resize_file(target, old.size());
        std::filesystem::create_hard_link(target, second);
        const uintmax_t pages = (bytes.size() + FullDisk::kPage - 1) / FullDisk::kPage;
        disk.leaveFree(pages + pages / 2);
        EXPECT_EQ(call(writer.exportName, target.c_str(), writer.value, context), -1.0f);
        EXPECT_TRUE(contentOf(target) == old)
            << pagesWritten(contentOf(target)) << " of " << (old.size() + FullDisk::kPage - 1) / FullDisk::kPage << " pages hold new bytes";
        EXPECT_TRUE(contentOf(second) == old) << "the other name holds new bytes";
        EXPECT_EQ(disk.files().size(), 3u) << "a staging file stayed";
    }
    disk.clear();
}

}  // namespace tollgram::test
