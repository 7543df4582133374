// GetDirFileList on real folders, and on searches answered in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "exports_call.h"
#include "files/file_list_buffer.h"
#include "files/files_state.h"
#include "support/module_reset.h"
#include "platform/directories.h"
#include "platform/paths.h"
#include "support/temp_folder.h"
#include "support/scoped_system.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tollgram {
namespace {

using test::native;
using exports::GetDirFileList;
using exports::GetFileInfo;

// The texts of the list up to its empty text.
std::vector<std::string> listedTexts() {
    std::vector<std::string> texts;
    const char* list = files::filesState().fileListBuffer;
    for (size_t at = 0; at < files::kFileListBufferSize && list[at] != '\0';) {
        texts.emplace_back(list + at);
        at += texts.back().size() + 1;
    }
    return texts;
}

bool listAllZero() {
    const char* list = files::filesState().fileListBuffer;
    return std::all_of(list, list + files::kFileListBufferSize, [](char byte) { return byte == 0; });
}

void dirtyList() { std::memset(files::filesState().fileListBuffer, 'q', files::kFileListBufferSize); }

class DirectoryListing : public ::testing::Test {
protected:
    void SetUp() override { resetModuleState(); }
    test::TempFolder folder;
};

TEST_F(DirectoryListing, GivesTheLayoutForNoneOneAndSeveralFiles) {
    dirtyList();
    EXPECT_EQ(test::run(GetDirFileList, folder.text().c_str()), 0.0f);
    EXPECT_TRUE(listAllZero()) << "an empty folder";

    folder.write("only.obj", "v 0 0 0\n");
    EXPECT_EQ(test::run(GetDirFileList, folder.text().c_str()), 1.0f);
    const std::string onePath = folder.text() + platform::kPathSeparator + "only.obj";
    EXPECT_EQ(listedTexts(), std::vector<std::string>{onePath});
    EXPECT_EQ(files::filesState().fileListBuffer[onePath.size() + 1], '\0');
    char buffer[512] = "";
    EXPECT_EQ(test::run(GetFileInfo, "fullname", 1, buffer, sizeof buffer), static_cast<float>(onePath.size()));
    EXPECT_EQ(std::string(buffer), onePath);
    EXPECT_EQ(test::run(GetFileInfo, "name", 1, buffer, sizeof buffer), 8.0f);
    EXPECT_STREQ(buffer, "only.obj");

    folder.write("b.mtl", "");
    folder.write("c d.txt", "x");
    EXPECT_EQ(test::run(GetDirFileList, folder.text().c_str()), 3.0f);
    std::vector<std::string> texts = listedTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], folder.text());
    std::sort(texts.begin() + 1, texts.end());  // the search's order is its own
    EXPECT_EQ(texts, (std::vector<std::string>{folder.text(), "b.mtl", "c d.txt", "only.obj"}));
    for (int index = 1; index <= 3; ++index) {
        ASSERT_GT(test::run(GetFileInfo, "fullname", index, buffer, sizeof buffer), 0.0f) << index;
        EXPECT_TRUE(std::filesystem::is_regular_file(buffer)) << buffer;
    }
}

TEST_F(DirectoryListing, LeavesOutFoldersAndHiddenEntries) {
    std::filesystem::create_directory(folder.path() / "sub");
    folder.write("sub/inner.obj", "");
    folder.write("plain.obj", "");
#if defined(_WIN32)
    ASSERT_TRUE(SetFileAttributesA(folder.write("hidden.obj", "").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(folder.write("system.obj", "").c_str(), FILE_ATTRIBUTE_SYSTEM));
#else
    folder.write(".hidden.obj", "");
#endif
    EXPECT_EQ(test::run(GetDirFileList, folder.text().c_str()), 1.0f);
    EXPECT_EQ(listedTexts(), std::vector<std::string>{folder.text() + platform::kPathSeparator + "plain.obj"});
}

TEST_F(DirectoryListing, TakesTheDirectoryWithOrWithoutItsSeparator) {
    folder.write("a.obj", "");
    folder.write("b.obj", "");
    const std::string withSeparator = folder.text() + platform::kPathSeparator;
    for (const std::string& text : {folder.text(), withSeparator}) {
        EXPECT_EQ(test::run(GetDirFileList, text.c_str()), 2.0f) << text;
        EXPECT_EQ(listedTexts().at(0), folder.text()) << text;
    }
}

TEST_F(DirectoryListing, GivesNothingForWhatCannotBeSearched) {
    const std::string missing = folder.at("missing");
    const std::string file = folder.write("file.obj", "");
    const std::string tooLong = folder.text() + platform::kPathSeparator + std::string(300, 'd');
    // With the separator and "*", 258 characters need 261 bytes.
    const std::string justTooLong(258, 'd');
    struct Case {
        const char* name;
        const char* text;
        bool listCleared;
    };
    const Case cases[] = {
        {"null text", nullptr, false},
        {"empty text", "", false},
        {"missing folder", missing.c_str(), true},
        {"a file, not a folder", file.c_str(), true},
        {"pattern longer than 260 bytes", tooLong.c_str(), true},
        {"258 characters: the pattern does not fit", justTooLong.c_str(), true},
    };
    for (const Case& c : cases) {
        dirtyList();
        EXPECT_EQ(test::run(GetDirFileList, c.text), 0.0f) << c.name;
        EXPECT_EQ(listAllZero(), c.listCleared) << c.name;
    }
}

// A search answered from a table, as the platform would deliver it.
struct Listed {
    std::string name;
    uint32_t attributes;
};
std::vector<Listed> g_entries;
std::string g_pattern;

bool tableSearch(const char* pattern, platform::DirectoryVisitor visitor, void* context) {
    g_pattern = pattern;
    for (const Listed& entry : g_entries) {
        if (!visitor(platform::DirectoryEntry{entry.name.c_str(), entry.attributes}, context)) break;
    }
    return true;
}

class AnsweredSearch : public ::testing::Test {
protected:
    void SetUp() override {
        resetModuleState();
        g_entries.clear();
        system_.calls().directories.search = &tableSearch;
    }

private:
    test::ScopedSystem system_;
};

TEST_F(AnsweredSearch, BuildsThePatternAndCutsItBackToTheDirectory) {
    struct Case {
        const char* text;
        std::string pattern;
        std::string directory;
    };
    const Case cases[] = {
        {"C:\\models", native("C:\\models\\*"), native("C:\\models")},
        {"C:\\models\\", native("C:\\models\\*"), native("C:\\models")},
        {"C:\\", native("C:\\*"), "C:"},
    };
    g_entries = {{"a.obj", 0}, {"b.obj", 0}};
    for (const Case& c : cases) {
        const std::string text = native(c.text);
        EXPECT_EQ(test::run(GetDirFileList, text.c_str()), 2.0f) << c.text;
        EXPECT_EQ(g_pattern, c.pattern) << c.text;
        EXPECT_EQ(listedTexts(), (std::vector<std::string>{c.directory, "a.obj", "b.obj"})) << c.text;
    }
    g_entries = {{"a.obj", 0}};
    const std::string root = native("C:\\");
    EXPECT_EQ(test::run(GetDirFileList, root.c_str()), 1.0f);
    EXPECT_EQ(listedTexts(), std::vector<std::string>{native("C:\\a.obj")});
}

TEST_F(AnsweredSearch, ListsOnlyPlainFilesInTheSearchOrder) {
    g_entries = {
        {".", 0x10},        {"..", 0x10},         {"z.obj", 0x20 /* archive */}, {"sub", 0x10},
        {"h.obj", 0x2},     {"s.sys", 0x4},       {"hs", 0x6},                   {"a.obj", 0x1 /* read-only */},
        {"n.obj", 0x80},    {"d.obj", 0x10 | 0x20},
    };
    EXPECT_EQ(test::run(GetDirFileList, "dir"), 3.0f);
    EXPECT_EQ(listedTexts(), (std::vector<std::string>{"dir", "z.obj", "a.obj", "n.obj"}));
}

TEST_F(AnsweredSearch, StopsAtTheFirstNameThatDoesNotFit) {
    // "dir" and its terminator take 4 bytes, each 99-letter name 100: 40
    // names end at byte 4004. The next is listed when its terminator lands
    // at 4094 at the latest, leaving 4095 for the empty text; after the
    // first that does not fit nothing more is listed, not even a short one.
    struct Case {
        const char* name;
        size_t lastLength;
        bool listed;
    };
    const Case cases[] = {
        {"ends at 4094, the empty text at 4095", 90, true},
        {"would leave no byte for the empty text", 91, false},
    };
    for (const Case& c : cases) {
        g_entries.clear();
        for (int i = 0; i < 40; ++i) g_entries.push_back({std::string(99, static_cast<char>('A' + i % 26)), 0});
        g_entries.push_back({std::string(c.lastLength, 'x'), 0});
        g_entries.push_back({"short.obj", 0});  // never listed after a stop
        const float expected = c.listed ? 41.0f : 40.0f;
        EXPECT_EQ(test::run(GetDirFileList, "dir"), expected) << c.name;
        const std::vector<std::string> texts = listedTexts();
        ASSERT_EQ(texts.size(), static_cast<size_t>(expected) + 1) << c.name;
        EXPECT_EQ(texts.back() == std::string(c.lastLength, 'x'), c.listed) << c.name;
        EXPECT_EQ(files::countListedFiles(files::filesState().fileListBuffer), static_cast<int>(expected)) << c.name;
    }
}

}  // namespace
}  // namespace tollgram
