// GetFileList, SetDefaultDir and SetDialogTitle with the dialog answered
// in-process.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "exports_call.h"
#include "files/files_state.h"
#include "support/module_reset.h"
#include "platform/dialogs.h"
#include "support/recording_fakes.h"
#include "support/scoped_system.h"

namespace tollgram {
namespace {

using exports::GetFileInfo;
using exports::GetFileList;
using exports::SetDefaultDir;
using exports::SetDialogTitle;
using test::native;

// What the dialog was asked, and what it answers.
using Answer = test::DialogAnswer;
Answer& g_answer = test::RecordingDialog::answer;
test::SeenDialog& g_seen = test::RecordingDialog::seen;

bool answeringDialog(const platform::OpenFileRequest& request) {
    return test::RecordingDialog::ask(request.filterList, request.multipleSelection, request.initialDirectory,
                                      request.title, request.fileBuffer, request.fileBufferSize);
}

class FileDialog : public ::testing::Test {
protected:
    void SetUp() override {
        resetModuleState();
        g_seen = {};
        g_answer = {};
        system_.calls().dialogs.openFile = &answeringDialog;
    }

    // A list left by an earlier call, so that each call is seen clearing it.
    static void dirtyList() { std::memset(files::filesState().fileListBuffer, 'q', files::kFileListBufferSize); }
    static bool listAllZero() {
        for (char byte : files::filesState().fileListBuffer) {
            if (byte != 0) return false;
        }
        return true;
    }

private:
    test::ScopedSystem system_;
};

const std::string z(1, '\0');

TEST_F(FileDialog, TurnsTheFilterTextIntoTheFilterList) {
    struct Case {
        const char* name;
        const char* text;
        std::string list;
    };
    const Case cases[] = {
        {"two pairs", "Models|*.obj|All|*.*", "Models" + z + "*.obj" + z + "All" + z + "*.*" + z + z},
        {"one pair with a pattern list", "Images|*.bmp;*.tga", "Images" + z + "*.bmp;*.tga" + z + z},
        {"a description without a pattern", "Models", "Models" + z + z},
        {"no text", nullptr, "*.*" + z + z},
        {"empty text", "", z + z},
    };
    for (const Case& c : cases) {
        g_answer.chosen = false;
        EXPECT_EQ(test::run(GetFileList, c.text, 0), 0.0f) << c.name;
        EXPECT_EQ(g_seen.filterList, c.list) << c.name;
    }
}

TEST_F(FileDialog, EndsEvenAFullLengthFilterWithTheEmptyText) {
    const std::string longest = "Models|" + std::string(248, 'x');  // 255 characters
    ASSERT_EQ(longest.size(), 255u);
    g_answer = {true, "C:\\a.obj" + z + z};
    EXPECT_EQ(test::run(GetFileList, longest.c_str(), 0), 1.0f);
    EXPECT_EQ(g_seen.filterList, "Models" + z + std::string(248, 'x') + z + z);
}

TEST_F(FileDialog, RefusesAFilterThatDoesNotFitWithoutADialog) {
    dirtyList();
    const std::string tooLong(256, 'x');
    EXPECT_EQ(test::run(GetFileList, tooLong.c_str(), 0), -1.0f);
    EXPECT_EQ(g_seen.calls, 0);
    EXPECT_TRUE(listAllZero());
}

TEST_F(FileDialog, SelectsSeveralUnlessTheValueIsExactlyOne) {
    struct Case {
        const char* name;
        double value;
        bool multiple;
    };
    const Case cases[] = {
        {"1", 1.0, false}, {"0", 0.0, true}, {"1.5", 1.5, true}, {"0.9999999", 0.9999999, true},
        {"-1", -1.0, true}, {"NaN", std::nan(""), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(test::run(GetFileList, "All|*.*", c.value), 0.0f) << c.name;
        EXPECT_EQ(g_seen.multipleSelection, c.multiple) << c.name;
    }
}

TEST_F(FileDialog, PassesTheModuleListDirectoryAndTitle) {
    dirtyList();
    test::run(GetFileList, "All|*.*", 0);
    EXPECT_EQ(g_seen.fileBuffer, files::filesState().fileListBuffer);
    EXPECT_EQ(g_seen.fileBufferSize, 4096u);
    EXPECT_TRUE(g_seen.bufferZeroOnEntry);
    EXPECT_EQ(g_seen.initialDirectory, "");  // passed also when empty
    EXPECT_EQ(g_seen.title, "Select Files");

    EXPECT_EQ(test::run(SetDefaultDir, "C:\\models"), 0.0f);
    EXPECT_EQ(test::run(SetDialogTitle, "Pick meshes"), 0.0f);
    test::run(GetFileList, "All|*.*", 0);
    EXPECT_EQ(g_seen.initialDirectory, "C:\\models");
    EXPECT_EQ(g_seen.title, "Pick meshes");

    EXPECT_EQ(test::run(SetDefaultDir, nullptr), 0.0f);
    EXPECT_EQ(test::run(SetDialogTitle, nullptr), 0.0f);
    test::run(GetFileList, "All|*.*", 0);
    EXPECT_EQ(g_seen.initialDirectory, "");
    EXPECT_EQ(g_seen.title, "Select Files");
}

TEST_F(FileDialog, SettingsThatDoNotFitAreEmptiedWithTheCopyError) {
    const std::string directory511(511, 'd'), directory512(512, 'd');
    const std::string title255(255, 't'), title256(256, 't');
    EXPECT_EQ(test::run(SetDefaultDir, directory511.c_str()), 0.0f);
    EXPECT_EQ(std::string(files::filesState().defaultDirectory), directory511);
    EXPECT_EQ(test::run(SetDefaultDir, directory512.c_str()), 34.0f);
    EXPECT_STREQ(files::filesState().defaultDirectory, "");
    EXPECT_EQ(test::run(SetDialogTitle, title255.c_str()), 0.0f);
    EXPECT_EQ(std::string(files::filesState().dialogTitle), title255);
    EXPECT_EQ(test::run(SetDialogTitle, title256.c_str()), 34.0f);
    EXPECT_STREQ(files::filesState().dialogTitle, "");
}

TEST_F(FileDialog, CountsWhatTheUserChose) {
    struct Case {
        const char* name;
        Answer answer;
        float expected;
        std::string fullname2;  // GetFileInfo "fullname" 2 afterwards; empty for none
        std::string name1;
    };
    const Case cases[] = {
        {"one file in multiple selection", {true, native("C:\\m\\a.obj") + z + z}, 1, "", "a.obj"},
        {"a.obj and b.obj in C:\\m", {true, native("C:\\m") + z + "a.obj" + z + "b.obj" + z + z}, 2,
         native("C:\\m\\b.obj"), "a.obj"},
        {"cancelled", {false, ""}, 0, "", ""},
        // The dialog leaves the size it needed in the first bytes.
        {"selection did not fit", {false, std::string("\x10\x27", 2)}, 0, "", ""},
    };
    for (const Case& c : cases) {
        dirtyList();
        g_answer = c.answer;
        EXPECT_EQ(test::run(GetFileList, "Models|*.obj", 0), c.expected) << c.name;
        if (!c.answer.chosen) {
            EXPECT_TRUE(listAllZero()) << c.name;
        }
        char buffer[64] = "";
        const float length = test::run(GetFileInfo, "fullname", 2, buffer, sizeof buffer);
        EXPECT_EQ(length, static_cast<float>(c.fullname2.size())) << c.name;
        if (!c.fullname2.empty()) {
            EXPECT_EQ(std::string(buffer), c.fullname2) << c.name;
        }
        buffer[0] = '\0';
        test::run(GetFileInfo, "name", 1, buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer), c.name1) << c.name;
    }
}

}  // namespace
}  // namespace tollgram
