// The FileListBuffer's counting rule and GetFileInfo over each layout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "exports_call.h"
#include "files/file_list_buffer.h"
#include "files/files_state.h"
#include "support/module_reset.h"

namespace tollgram {
namespace {

using exports::GetFileInfo;

// Fills the module's list with raw bytes (NULs written as \0 in the
// literal), the rest zero.
void setList(const std::string& bytes) {
    resetModuleState();
    ASSERT_LE(bytes.size(), files::kFileListBufferSize);
    std::memcpy(files::filesState().fileListBuffer, bytes.data(), bytes.size());
}

using test::native;

TEST(CountingRule, CountsTheTextsBeforeTheEmptyOne) {
    struct Case {
        const char* name;
        std::string bytes;
        int expected;
    };
    const std::string s = std::string(1, '\0');
    const Case cases[] = {
        {"all zero", "", 1},
        {"one full path", "C:\\m\\a.obj" + s + s, 1},
        {"directory and two names", "C:\\m" + s + "a.obj" + s + "b.obj" + s + s, 2},
        {"directory and three names", "C:\\m" + s + "a" + s + "b" + s + "c" + s + s, 3},
        {"directory and one name", "C:\\m" + s + "a" + s + s, 1},
        {"empty directory then names", s + "a" + s + "b" + s + s, 2},
    };
    for (const Case& c : cases) {
        setList(c.bytes);
        EXPECT_EQ(files::countListedFiles(files::filesState().fileListBuffer), c.expected) << c.name;
    }
}

TEST(CountingRule, WithoutAnEmptyTextCountsTheNulsOfBytes0To4094) {
    // Letters and NULs alternating, no two NULs adjacent: NULs at the odd
    // positions, the last one (4095) outside the scan.
    std::string odd(files::kFileListBufferSize, 'x');
    for (size_t i = 1; i < odd.size(); i += 2) odd[i] = '\0';
    setList(odd);
    EXPECT_EQ(files::countListedFiles(files::filesState().fileListBuffer), 2047);

    // NULs at the even positions, 0 to 4094, all of them inside the scan.
    std::string even(files::kFileListBufferSize, 'x');
    for (size_t i = 0; i < even.size(); i += 2) even[i] = '\0';
    setList(even);
    EXPECT_EQ(files::countListedFiles(files::filesState().fileListBuffer), 2048);
}

TEST(GetFileInfo, HandsBackFullNamesAndNamesOfEachLayout) {
    const std::string s = std::string(1, '\0');
    const std::string one = native("C:\\m\\a.obj") + s + s;
    const std::string several = native("C:\\m") + s + "a.obj" + s + "b.obj" + s + s;
    const std::string rootOfDrive = native("C:\\") + s + "a.obj" + s + "b.obj" + s + s;
    struct Case {
        const char* name;
        std::string list;
        const char* key;
        double value;
        float expected;
        std::string text;  // what the buffer then holds
    };
    const Case cases[] = {
        {"one: fullname 1", one, "fullname", 1, 10, native("C:\\m\\a.obj")},
        {"one: name 1", one, "name", 1, 5, "a.obj"},
        {"one: fullname 1.9 truncates", one, "fullname", 1.9, 10, native("C:\\m\\a.obj")},
        {"several: fullname 1", several, "fullname", 1, 10, native("C:\\m\\a.obj")},
        {"several: fullname 2", several, "fullname", 2, 10, native("C:\\m\\b.obj")},
        {"several: name 2", several, "name", 2, 5, "b.obj"},
        {"several: name 2.99", several, "name", 2.99, 5, "b.obj"},
        {"root: separator inserted again", rootOfDrive, "fullname", 2, 9, native("C:\\\\b.obj")},
        {"empty list: fullname 1 copies the empty text", "", "fullname", 1, 0, ""},
        {"empty list: name 1", "", "name", 1, 0, "untouched"},
        {"name without separator", "a.obj" + s + s, "name", 1, 0, "untouched"},
        {"fullname 0", several, "fullname", 0, 0, "untouched"},
        {"fullname -3", several, "fullname", -3, 0, "untouched"},
        {"fullname one past the count", several, "fullname", 3, 0, "untouched"},
        {"name one past the count", several, "name", 3, 0, "untouched"},
        {"fullname NaN", several, "fullname", std::nan(""), 0, "untouched"},
        {"key in another case", several, "Name", 1, 0, "untouched"},
        {"key with a trailing blank", several, "name ", 1, 0, "untouched"},
    };
    for (const Case& c : cases) {
        setList(c.list);
        char buffer[64] = "untouched";
        EXPECT_EQ(test::run(GetFileInfo, c.key, c.value, buffer, sizeof buffer), c.expected) << c.name;
        EXPECT_EQ(std::string(buffer), c.text) << c.name;
    }
}

TEST(GetFileInfo, ReportsATooSmallBufferAsNothing) {
    const std::string s = std::string(1, '\0');
    setList(native("C:\\m") + s + "a.obj" + s + "b.obj" + s + s);
    struct Case {
        const char* name;
        const char* key;
        int32_t size;
    };
    const Case cases[] = {
        {"fullname: room for the path but not its terminator", "fullname", 10},
        {"fullname: room for the directory only", "fullname", 5},
        {"fullname: no room", "fullname", 0},
        {"fullname: negative size", "fullname", -5},
        {"name: room for the name but not its terminator", "name", 5},
    };
    for (const Case& c : cases) {
        char buffer[16] = "untouched";
        EXPECT_EQ(test::run(GetFileInfo, c.key, 2, buffer, c.size), 0.0f) << c.name;
        if (c.size > 0) {
            EXPECT_STREQ(buffer, "") << c.name;  // a failed copy leaves it empty
        }
    }
    char exact[11];
    EXPECT_EQ(test::run(GetFileInfo, "fullname", 2, exact, sizeof exact), 10.0f);
}

TEST(GetFileInfo, NeedsAKeyAndABuffer) {
    const std::string s = std::string(1, '\0');
    setList(native("C:\\m\\a.obj") + s + s);
    char buffer[16] = "untouched";
    EXPECT_EQ(test::run(GetFileInfo, nullptr, 1, buffer, sizeof buffer), 0.0f);
    EXPECT_EQ(test::run(GetFileInfo, "name", 1, nullptr, 16), 0.0f);
    EXPECT_STREQ(buffer, "untouched");
}

TEST(GetFileInfo, NeverReadsPastAnUnterminatedList) {
    // A full list without any NUL: 0 NULs counted, so no file.
    setList(std::string(files::kFileListBufferSize, 'x'));
    char buffer[8192] = "untouched";
    EXPECT_EQ(test::run(GetFileInfo, "fullname", 1, buffer, sizeof buffer), 0.0f);
    // One NUL early, then letters to the end: the walk to the second name
    // finds no terminator inside the list.
    std::string bytes(files::kFileListBufferSize, 'x');
    bytes[3] = '\0';
    bytes[5] = '\0';
    setList(bytes);
    EXPECT_EQ(files::countListedFiles(files::filesState().fileListBuffer), 2);
    EXPECT_EQ(test::run(GetFileInfo, "name", 2, buffer, sizeof buffer), 0.0f);
    EXPECT_EQ(test::run(GetFileInfo, "name", 1, buffer, sizeof buffer), 1.0f);  // the "x" between them
}

}  // namespace
}  // namespace tollgram
