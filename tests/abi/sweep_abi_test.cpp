// The argument sweep through the real DLL, as Kavrex would call it, with
// the dialog, the message box and the shell launch intercepted.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "abi/abi_dll.h"
#include "support/argument_sweep.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

BOOL WINAPI cancelledDialog(void*) { return FALSE; }
HINSTANCE WINAPI failedLaunch(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(2));  // file not found
}

TEST(DllArgumentSweep, EveryExportGivesItsCodeAndWritesOnlyItsBuffer) {
    ASSERT_NE(kavrex::dll(), nullptr);
    kavrex::MessageBoxCapture boxes;
    kavrex::ImportPatch dialog("comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void*>(&cancelledDialog));
    kavrex::ImportPatch launch("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&failedLaunch));
    ASSERT_TRUE(boxes.active() && dialog.active() && launch.active());

    const fs::path previous = fs::current_path();
    const tollgram::test::TempFolder work;
    fs::current_path(work.path());

    tollgram::test::SweepScene scene;
    size_t calls = 0;
    for (const std::string& name : kavrex::tableNames()) {
        const kavrex::ExportFunction function = kavrex::exportNamed(name.c_str());
        ASSERT_NE(function, nullptr) << name;
        const auto failures = tollgram::test::sweepExport(name, function, scene);
        calls += tollgram::test::sweepCases().size();
        for (size_t i = 0; i < failures.size() && i < 5; ++i) {
            const tollgram::test::SweepCase& c = tollgram::test::sweepCases()[failures[i].caseIndex];
            ADD_FAILURE() << name << ": " << failures[i].what << " (text kind " << int(c.text) << ", value " << c.value
                          << ", context kind " << int(c.context) << ")";
        }
    }
    std::printf("argument sweep through the DLL: %zu calls\n", calls);
    fs::current_path(previous);
}

}  // namespace
