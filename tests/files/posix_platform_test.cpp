// The POSIX platform layer: the command-line split, the zenity dialog and
// the launch of other programs, run against stand-in programs (small
// shell scripts in a temporary folder that is the whole PATH), so no real
// dialog or program ever starts.
#if !defined(_WIN32)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/command_line.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/zenity_dialog.h"
#include "support/temp_folder.h"

namespace tollgram {
namespace {

using Texts = std::vector<std::string>;

TEST(CommandLine, SplitsAsAWindowsProgramReceivesIt) {
    struct Case {
        const char* line;
        Texts arguments;
    };
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a.obj", {"a.obj"}},
        {"C:\\models\\my head.obj", {"C:\\models\\my", "head.obj"}},
        {"\"C:\\models\\my head.obj\"", {"C:\\models\\my head.obj"}},
        {"  one\ttwo   three ", {"one", "two", "three"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"\"", {""}},
        {"\\\\server\\share", {"\\\\server\\share"}},
        {"a\\\\\"b c\"", {"a\\b c"}},      // 2n backslashes and a quote: n and grouping
        {"a\\\"b c", {"a\"b", "c"}},       // 2n+1: n and a literal quote
        {"\"a \"\"b\"\" c\"", {"a \"b\" c"}},  // "" inside a group
        {"\"unended group", {"unended group"}},
        {"x;rm -rf $HOME", {"x;rm", "-rf", "$HOME"}},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::splitCommandLine(c.line), c.arguments) << c.line;
}

TEST(ZenityDialog, AsksForWhatTheWindowsDialogWouldShow) {
    const char filters[] = "Models\0*.obj\0Images\0*.bmp;*.tga\0Bare\0\0";
    struct Case {
        const char* name;
        platform::OpenFileRequest request;
        Texts arguments;
    };
    const Case cases[] = {
        {"several, in a directory",
         {filters, nullptr, 4096, "/data/models", "Select Files", true},
         {"--file-selection", "--separator=\n", "--title=Select Files", "--multiple", "--filename=/data/models/",
          "--file-filter=Models | *.obj", "--file-filter=Images | *.bmp *.tga"}},
        {"one, no directory, default filter",
         {"*.*\0", nullptr, 4096, "", "Pick", false},
         {"--file-selection", "--separator=\n", "--title=Pick"}},
        {"directory given with its slash",
         {"\0", nullptr, 4096, "/data/", "T", false},
         {"--file-selection", "--separator=\n", "--title=T", "--filename=/data/"}},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::zenityArguments(c.request), c.arguments) << c.name;
}

TEST(ZenityDialog, TurnsTheAnswerIntoTheFileListLayouts) {
    const std::string z(1, '\0');
    struct Case {
        const char* name;
        std::string answer;
        size_t capacity;
        bool chosen;
        std::string layout;
    };
    const Case cases[] = {
        {"one path", "/m/a.obj\n", 4096, true, "/m/a.obj" + z + z},
        {"two in one directory", "/m/a.obj\n/m/b obj|x\n", 4096, true, "/m" + z + "a.obj" + z + "b obj|x" + z + z},
        {"two in the root", "/a.obj\n/b.obj\n", 4096, true, "/" + z + "a.obj" + z + "b.obj" + z + z},
        {"no trailing line end", "/m/a.obj", 4096, true, "/m/a.obj" + z + z},
        {"nothing chosen", "\n", 4096, false, ""},
        {"different directories", "/m/a.obj\n/n/b.obj\n", 4096, false, ""},
        {"fits exactly", "/m/a.obj\n", 10, true, "/m/a.obj" + z + z},
        {"one byte short", "/m/a.obj\n", 9, false, ""},
    };
    for (const Case& c : cases) {
        std::string buffer(16 + c.answer.size(), 'q');
        EXPECT_EQ(platform::layoutSelection(c.answer, buffer.data(), c.capacity), c.chosen) << c.name;
        if (c.chosen) {
            EXPECT_EQ(buffer.substr(0, c.layout.size()), c.layout) << c.name;
        } else {
            EXPECT_EQ(buffer, std::string(buffer.size(), 'q')) << c.name << ": buffer unchanged";
        }
    }
}

// The stand-in programs and PATH set to their folder alone.
class StandInPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        setenv("PATH", folder.text().c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

    // A script that writes its arguments, one a line, to record, then marks
    // it complete, prints output and exits with status.
    std::string program(const std::string& name, const std::string& record, const std::string& output = "",
                        int status = 0) {
        const std::string script = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record +
                                   "'\n: > '" + record + ".done'\nprintf '%s' '" + output + "'\nexit " +
                                   std::to_string(status) + "\n";
        const std::string path = folder.write(name, script);
        chmod(path.c_str(), 0755);
        return path;
    }

    // The recorded arguments once the program has written them all; it runs
    // on its own, so it is given a few seconds.
    static Texts recorded(const std::string& record) {
        for (int i = 0; i < 500 && !std::filesystem::exists(record + ".done"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        Texts lines;
        std::string content = test::contentOf(record);
        for (size_t start = 0, end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
            lines.push_back(content.substr(start, end - start));
        }
        return lines;
    }

    test::TempFolder folder;

private:
    std::string savedPath_;
};

TEST_F(StandInPrograms, TheDialogRunsZenityAndReadsItsAnswer) {
    const std::string record = folder.at("zenity.args");
    program("zenity", record, "/m/a.obj\n/m/b.obj\n");
    char buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), 'q');
    const platform::OpenFileRequest request{"Models\0*.obj\0", buffer, sizeof buffer, "/m", "Title", true};
    ASSERT_TRUE(platform::platformSystem().dialogs.openFile(request));
    EXPECT_EQ(std::string(buffer, 17), std::string("/m\0a.obj\0b.obj\0\0q", 17));
    // The separator's line end splits its recorded line in two.
    EXPECT_EQ(recorded(record), (Texts{"--file-selection", "--separator=", "", "--title=Title", "--multiple",
                                       "--filename=/m/", "--file-filter=Models | *.obj"}));
}

TEST_F(StandInPrograms, TheDialogIsCancelledWhenZenityIsCancelledOrMissing) {
    char buffer[64] = "untouched";
    const platform::OpenFileRequest request{"*.*\0", buffer, sizeof buffer, "", "Title", false};
    EXPECT_FALSE(platform::platformSystem().dialogs.openFile(request)) << "no zenity in PATH";
    program("zenity", folder.at("zenity.args"), "", 1);
    EXPECT_FALSE(platform::platformSystem().dialogs.openFile(request)) << "cancelled";
    program("zenity", folder.at("zenity.args"), "/too/long/for/the/buffer/" + std::string(60, 'n') + "\n");
    EXPECT_FALSE(platform::platformSystem().dialogs.openFile(request)) << "did not fit";
    EXPECT_STREQ(buffer, "untouched");
}

TEST_F(StandInPrograms, OpenHandsTheFileToXdgOpen) {
    const std::string record = folder.at("xdg-open.args");
    program("xdg-open", record);
    EXPECT_EQ(platform::platformSystem().shell.launch("open", "/m/my head.obj", "", "", 1), 33);
    EXPECT_EQ(recorded(record), Texts{"/m/my head.obj"});
}

TEST_F(StandInPrograms, ALinkedProgramGetsTheSplitTextAndNoShellReadsIt) {
    const std::string record = folder.at("viewer.args");
    const std::string viewer = program("viewer", record);
    const std::string marker = folder.at("injected");
    const std::string text = "/m/my head.obj \"/m/one arg.obj\" ;touch${IFS}" + marker + " $(touch " + marker + ")";
    EXPECT_EQ(platform::platformSystem().shell.launch(nullptr, viewer.c_str(), text.c_str(), nullptr, 1), 33);
    EXPECT_EQ(recorded(record), (Texts{"/m/my", "head.obj", "/m/one arg.obj", ";touch${IFS}" + marker, "$(touch",
                                       marker + ")"}));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(StandInPrograms, ReportsAProgramThatCannotStart) {
    const std::string plain = folder.write("not-executable", "#!/bin/sh\n");
    struct Case {
        const char* name;
        const char* verb;
        std::string file;
    };
    const Case cases[] = {
        {"missing program", nullptr, folder.at("missing")},
        {"not executable", nullptr, plain},
        {"no program name", nullptr, ""},
        {"no xdg-open", "open", "/m/a.obj"},
    };
    for (const Case& c : cases) {
        EXPECT_LE(platform::platformSystem().shell.launch(c.verb, c.file.c_str(), "", nullptr, 1), 32) << c.name;
    }
}

}  // namespace
}  // namespace tollgram
#endif
