// SetAppLinkPath, ResetAppLinkPath and AppLinkOpenFile with the shell's
// launch answered in-process.
#include <gtest/gtest.h>

#include <string>

#include "exports_call.h"
#include "files/files_state.h"
#include "support/module_reset.h"
#include "platform/shell.h"
#include "support/recording_fakes.h"
#include "support/scoped_system.h"

namespace tollgram {
namespace {

using exports::AppLinkOpenFile;
using exports::ResetAppLinkPath;
using exports::SetAppLinkPath;

test::SeenLaunch& g_launch = test::RecordingLaunch::seen;
intptr_t& g_answer = test::RecordingLaunch::answer;

class AppLink : public ::testing::Test {
protected:
    void SetUp() override {
        resetModuleState();
        g_launch = {};
        g_answer = 42;
        system_.calls().shell.launch = &test::RecordingLaunch::launch;
    }

private:
    test::ScopedSystem system_;
};

TEST_F(AppLink, OpensWithTheAssociatedProgramUnlessAProgramIsLinked) {
    struct Case {
        const char* name;
        const char* link;  // null: none set
        bool viaOpenVerb;
    };
    const Case cases[] = {
        {"no link", nullptr, true},
        {"one character", "C", true},
        {"two characters, a bare drive", "C:", true},
        {"three characters", "C:\\", false},
        {"a program", "C:\\Tools\\viewer.exe", false},
    };
    const char* file = "C:\\models\\my head.obj";
    for (const Case& c : cases) {
        resetModuleState();
        if (c.link) {
            ASSERT_EQ(test::run(SetAppLinkPath, c.link), 0.0f) << c.name;
        }
        EXPECT_EQ(test::run(AppLinkOpenFile, file), 0.0f) << c.name;
        EXPECT_EQ(g_launch.show, 1) << c.name;
        if (c.viaOpenVerb) {
            EXPECT_TRUE(g_launch.hasVerb && g_launch.verb == "open") << c.name;
            EXPECT_EQ(g_launch.file, file) << c.name;
            EXPECT_EQ(g_launch.parameters, "") << c.name;
            EXPECT_TRUE(g_launch.hasDirectory && g_launch.directory.empty()) << c.name;
        } else {
            EXPECT_FALSE(g_launch.hasVerb) << c.name;
            EXPECT_EQ(g_launch.file, c.link) << c.name;
            EXPECT_EQ(g_launch.parameters, file) << c.name << ": passed unquoted";
            EXPECT_FALSE(g_launch.hasDirectory) << c.name;
        }
    }
}

TEST_F(AppLink, SucceedsOnlyAboveThirtyTwo) {
    struct Case {
        intptr_t answer;
        float expected;
    };
    const Case cases[] = {{33, 0}, {32, -1}, {2, -1}, {0, -1}, {-5, -1}, {0x10000, 0}};
    for (const Case& c : cases) {
        g_answer = c.answer;
        EXPECT_EQ(test::run(AppLinkOpenFile, "a.obj"), c.expected) << c.answer;
    }
    EXPECT_EQ(test::run(AppLinkOpenFile, nullptr), -1.0f);
    EXPECT_EQ(g_launch.calls, static_cast<int>(std::size(cases)));
}

TEST_F(AppLink, KeepsTheLinkUntilSetOrReset) {
    ASSERT_EQ(test::run(SetAppLinkPath, "/usr/bin/viewer"), 0.0f);
    EXPECT_EQ(test::run(SetAppLinkPath, ""), -1.0f);
    EXPECT_EQ(test::run(SetAppLinkPath, nullptr), -1.0f);
    EXPECT_STREQ(files::filesState().appLinkPath, "/usr/bin/viewer");

    const std::string longest(1023, 'p'), tooLong(1024, 'p');
    EXPECT_EQ(test::run(SetAppLinkPath, longest.c_str()), 0.0f);
    EXPECT_EQ(std::string(files::filesState().appLinkPath), longest);
    EXPECT_EQ(test::run(SetAppLinkPath, tooLong.c_str()), 34.0f);
    EXPECT_STREQ(files::filesState().appLinkPath, "");

    ASSERT_EQ(test::run(SetAppLinkPath, "/usr/bin/viewer"), 0.0f);
    EXPECT_EQ(test::run(ResetAppLinkPath, "ignored"), 0.0f);
    EXPECT_STREQ(files::filesState().appLinkPath, "");
    test::run(AppLinkOpenFile, "a.obj");
    EXPECT_EQ(g_launch.verb, "open");
}

}  // namespace
}  // namespace tollgram
