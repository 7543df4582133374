// The files exports through the real DLL, with its imports of
// GetOpenFileNameA and ShellExecuteA intercepted: what the DLL passes to
// Windows, and what it makes of Windows' answers.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "abi/abi_dll.h"
#include "support/recording_fakes.h"

namespace {

using tollgram::test::DialogAnswer;
using tollgram::test::RecordingDialog;
using tollgram::test::RecordingLaunch;

tollgram::test::SeenDialog& g_dialog = RecordingDialog::seen;
DialogAnswer& g_answer = RecordingDialog::answer;
// Every field of the dialog's structure as the DLL filled it.
OPENFILENAMEA g_dialogFields{};

BOOL WINAPI answeringGetOpenFileName(LPOPENFILENAMEA dialog) {
    g_dialogFields = *dialog;
    return RecordingDialog::ask(dialog->lpstrFilter, (dialog->Flags & OFN_ALLOWMULTISELECT) != 0,
                                dialog->lpstrInitialDir, dialog->lpstrTitle, dialog->lpstrFile, dialog->nMaxFile)
               ? TRUE
               : FALSE;
}

class FilesAbi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialogPatch_.active()) << "Tollgram.dll has no import of comdlg32.dll!GetOpenFileNameA";
        g_dialog = {};
        g_answer = DialogAnswer{false, ""};
        kavrex::call("SetDefaultDir");
        kavrex::call("SetDialogTitle");
    }

    static float fileInfo(const char* key, double index, std::string& text) {
        char buffer[512] = "";
        const float result = kavrex::call("GetFileInfo", key, index, buffer, sizeof buffer);
        text = buffer;
        return result;
    }

private:
    kavrex::ImportPatch dialogPatch_{"comdlg32.dll", "GetOpenFileNameA",
                                     reinterpret_cast<void*>(&answeringGetOpenFileName)};
};

const std::string z(1, '\0');

// The whole structure, pvReserved to FlagsEx: 88 bytes in the 32-bit
// product; the x64 test build checks the 64-bit size of the same fields.
#if defined(_WIN64)
constexpr DWORD kWholeDialogStructure = 152;
#else
constexpr DWORD kWholeDialogStructure = 88;
#endif

TEST_F(FilesAbi, FillsEveryFieldOfTheDialogStructure) {
    struct Case {
        const char* name;
        const char* filter;
        double value;
        DWORD flags;
        std::string filterList;
    };
    const std::string longest = "M|" + std::string(253, 'p');
    const Case cases[] = {
        {"multiple selection", "Models|*.obj|All|*.*", 0.0, 0x85A04,
         "Models" + z + "*.obj" + z + "All" + z + "*.*" + z + z},
        {"single selection", "Images|*.bmp;*.tga", 1.0, 0x5804, "Images" + z + "*.bmp;*.tga" + z + z},
        {"no filter", nullptr, 2.0, 0x85A04, "*.*" + z + z},
        {"255 characters", longest.c_str(), 0.0, 0x85A04,
         "M" + z + std::string(253, 'p') + z + z},
    };
    for (const Case& c : cases) {
        g_dialog = {};
        EXPECT_EQ(kavrex::call("GetFileList", c.filter, c.value), 0.0f) << c.name;
        ASSERT_EQ(g_dialog.calls, 1) << c.name;
        const OPENFILENAMEA& f = g_dialogFields;
        EXPECT_EQ(f.lStructSize, kWholeDialogStructure) << c.name;
        EXPECT_EQ(f.hwndOwner, nullptr) << c.name;
        EXPECT_EQ(f.hInstance, nullptr) << c.name;
        EXPECT_EQ(g_dialog.filterList, c.filterList) << c.name;
        EXPECT_EQ(f.lpstrCustomFilter, nullptr) << c.name;
        EXPECT_EQ(f.nMaxCustFilter, 0u) << c.name;
        EXPECT_EQ(f.nFilterIndex, 1u) << c.name;
        EXPECT_NE(f.lpstrFile, nullptr) << c.name;
        EXPECT_TRUE(g_dialog.bufferZeroOnEntry) << c.name;
        EXPECT_EQ(f.nMaxFile, 4096u) << c.name;
        EXPECT_EQ(f.lpstrFileTitle, nullptr) << c.name;
        EXPECT_EQ(f.nMaxFileTitle, 0u) << c.name;
        EXPECT_NE(f.lpstrInitialDir, nullptr) << c.name << ": passed also when empty";
        EXPECT_EQ(g_dialog.initialDirectory, "") << c.name;
        EXPECT_EQ(g_dialog.title, "Select Files") << c.name;
        EXPECT_EQ(f.Flags, c.flags) << c.name;
        EXPECT_EQ(f.nFileOffset, 0u) << c.name;
        EXPECT_EQ(f.nFileExtension, 0u) << c.name;
        EXPECT_EQ(f.lpstrDefExt, nullptr) << c.name;
        EXPECT_EQ(f.lCustData, 0) << c.name;
        EXPECT_EQ(f.lpfnHook, nullptr) << c.name;
        EXPECT_EQ(f.lpTemplateName, nullptr) << c.name;
        EXPECT_EQ(f.pvReserved, nullptr) << c.name;
        EXPECT_EQ(f.dwReserved, 0u) << c.name;
        EXPECT_EQ(f.FlagsEx, 0u) << c.name;
    }
    const std::string tooLong(256, 'x');
    g_dialog = {};
    EXPECT_EQ(kavrex::call("GetFileList", tooLong.c_str(), 0.0), -1.0f);
    EXPECT_EQ(g_dialog.calls, 0);
}

TEST_F(FilesAbi, PassesTheDefaultDirectoryAndTitle) {
    EXPECT_EQ(kavrex::call("SetDefaultDir", "C:\\models"), 0.0f);
    EXPECT_EQ(kavrex::call("SetDialogTitle", "Pick meshes"), 0.0f);
    kavrex::call("GetFileList", "All|*.*", 0.0);
    EXPECT_EQ(g_dialog.initialDirectory, "C:\\models");
    EXPECT_EQ(g_dialog.title, "Pick meshes");
}

TEST_F(FilesAbi, KeepsWhatTheUserPicked) {
    struct Case {
        const char* name;
        BOOL chosen;
        std::string layout;
        float result;
        std::string fullname1, fullname2, name1;
        float fullname2Length;
    };
    const Case cases[] = {
        {"one file picked in multiple selection", TRUE, "C:\\m\\a.obj" + z + z, 1, "C:\\m\\a.obj", "", "a.obj", 0},
        {"a.obj and b.obj picked in C:\\m", TRUE, "C:\\m" + z + "a.obj" + z + "b.obj" + z + z, 2, "C:\\m\\a.obj",
         "C:\\m\\b.obj", "a.obj", 10},
        {"cancelled", FALSE, "", 0, "", "", "", 0},
        // The dialog puts the size it needed (here 5000) in the first bytes.
        {"selection that does not fit", FALSE, std::string("\x88\x13", 2), 0, "", "", "", 0},
    };
    for (const Case& c : cases) {
        g_answer = DialogAnswer{c.chosen != FALSE, c.layout};
        EXPECT_EQ(kavrex::call("GetFileList", "Models|*.obj", 0.0), c.result) << c.name;
        std::string text;
        EXPECT_EQ(fileInfo("fullname", 1, text), static_cast<float>(c.fullname1.size())) << c.name;
        EXPECT_EQ(text, c.fullname1) << c.name;
        EXPECT_EQ(fileInfo("fullname", 2, text), c.fullname2Length) << c.name;
        EXPECT_EQ(text, c.fullname2) << c.name;
        EXPECT_EQ(fileInfo("name", 1, text), static_cast<float>(c.name1.size())) << c.name;
        EXPECT_EQ(text, c.name1) << c.name;
    }
}

// The shell's launch, recorded.
tollgram::test::SeenLaunch& g_launch = RecordingLaunch::seen;
intptr_t& g_launchAnswer = RecordingLaunch::answer;

HINSTANCE WINAPI answeringShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                       INT show) {
    const intptr_t answer = RecordingLaunch::launch(verb, file, parameters, directory, show);
    g_launch.owner = owner;
    return reinterpret_cast<HINSTANCE>(answer);
}

TEST(FilesAbiLaunch, CallsTheShellInBothFormsAndSucceedsAbove32) {
    kavrex::ImportPatch patch("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&answeringShellExecute));
    ASSERT_TRUE(patch.active()) << "Tollgram.dll has no import of shell32.dll!ShellExecuteA";

    kavrex::call("ResetAppLinkPath");
    g_launch = {};
    EXPECT_EQ(kavrex::call("AppLinkOpenFile", "C:\\m\\my head.obj"), 0.0f);
    EXPECT_EQ(g_launch.calls, 1);
    EXPECT_EQ(g_launch.owner, nullptr);
    EXPECT_TRUE(g_launch.hasVerb);
    EXPECT_EQ(g_launch.verb, "open");
    EXPECT_EQ(g_launch.file, "C:\\m\\my head.obj");
    EXPECT_EQ(g_launch.parameters, "");
    EXPECT_TRUE(g_launch.hasDirectory);
    EXPECT_EQ(g_launch.directory, "");
    EXPECT_EQ(g_launch.show, SW_SHOWNORMAL);

    ASSERT_EQ(kavrex::call("SetAppLinkPath", "C:\\Tools\\viewer.exe"), 0.0f);
    g_launch = {};
    EXPECT_EQ(kavrex::call("AppLinkOpenFile", "C:\\m\\my head.obj"), 0.0f);
    EXPECT_EQ(g_launch.owner, nullptr);
    EXPECT_FALSE(g_launch.hasVerb);
    EXPECT_EQ(g_launch.file, "C:\\Tools\\viewer.exe");
    EXPECT_EQ(g_launch.parameters, "C:\\m\\my head.obj");
    EXPECT_FALSE(g_launch.hasDirectory);
    EXPECT_EQ(g_launch.show, SW_SHOWNORMAL);

    struct Case {
        INT_PTR answer;
        float expected;
    };
    for (const Case& c : {Case{33, 0.0f}, Case{32, -1.0f}, Case{SE_ERR_FNF, -1.0f}, Case{0, -1.0f}}) {
        g_launchAnswer = c.answer;
        EXPECT_EQ(kavrex::call("AppLinkOpenFile", "a.obj"), c.expected) << c.answer;
    }
    g_launchAnswer = 42;
    const int before = g_launch.calls;
    EXPECT_EQ(kavrex::call("AppLinkOpenFile"), -1.0f);
    EXPECT_EQ(g_launch.calls, before) << "no launch without a file";
    kavrex::call("ResetAppLinkPath");
}

}  // namespace
