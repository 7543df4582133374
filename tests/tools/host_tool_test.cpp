#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "host_tool/call_runner.h"
#include "host_tool/guide_help.h"
#include "host_tool/host_report.h"
#include "host_tool/scene.h"
#include "host_tool/script.h"
#include "host_tool/session.h"
#include "substitute_host/substitute_host.h"
#include "support/temp_folder.h"
#include "tools/captured_session.h"

namespace tollgram::host_tool {
namespace {

namespace fs = std::filesystem;

TEST(ScriptLine, ReadsTheWordsOfACall) {
    ParsedLine p = parseScriptLine("  GetOBJGroupInfo \"name\" 1.9 buffer=256   # group one");
    ASSERT_TRUE(p.isCall) << p.error;
    EXPECT_EQ(p.call.exportName, "GetOBJGroupInfo");
    EXPECT_EQ(p.call.text, "name");
    EXPECT_EQ(p.call.value, 1.9);
    EXPECT_EQ(p.call.bufferBytes, 256);
    EXPECT_FALSE(p.call.bufferText);

    p = parseScriptLine("MoveButtonAfter \"Load \\\"Mesh\\\"\" buffer=\"Save\\\\As\"");
    ASSERT_TRUE(p.isCall) << p.error;
    EXPECT_EQ(p.call.text, "Load \"Mesh\"");
    EXPECT_EQ(p.call.bufferText, "Save\\As");

    p = parseScriptLine("GetFileInfo null -3 buffer=8 size=-1");
    ASSERT_TRUE(p.isCall) << p.error;
    EXPECT_FALSE(p.call.text);
    EXPECT_EQ(p.call.value, -3.0);
    EXPECT_EQ(p.call.sizeOverride, -1);

    p = parseScriptLine("SetThumbnail \"width\" nan");
    ASSERT_TRUE(p.isCall) << p.error;
    EXPECT_TRUE(std::isnan(p.call.value));

    EXPECT_FALSE(parseScriptLine("   ").isCall);
    EXPECT_FALSE(parseScriptLine("# only a comment").isCall);
    EXPECT_TRUE(parseScriptLine("# only a comment").error.empty());
}

TEST(ScriptLine, SaysWhatIsWrongWithABadLine) {
    struct Case { const char* line; const char* message; };
    const Case cases[] = {
        {"LoadOBJFile \"open", "no closing quote"},
        {"GetOBJInfo \"a\" \"b\"", "only one text"},
        {"SetThumbnail \"width\" 1 2", "only one number"},
        {"SetThumbnail width", "neither a quoted text"},
        {"GetFileInfo \"name\" 1 buffer=-4", "buffer= takes"},
        {"GetFileInfo \"name\" 1 size=x", "size= takes"},
        {"\"text\" first", "starts with the name"},
    };
    for (const Case& c : cases) {
        const ParsedLine p = parseScriptLine(c.line);
        EXPECT_FALSE(p.isCall) << c.line;
        EXPECT_NE(p.error.find(c.message), std::string::npos) << c.line << " -> " << p.error;
    }
}

TEST(ScriptLine, DescribesACallInTheScriptsOwnWords) {
    const char* lines[] = {"GetOBJGroupInfo \"name\" 1 buffer=256", "MoveButtonAfter \"A \\\"B\\\"\" buffer=\"C\"",
                           "Version", "GetFileInfo \"fullname\" 2 buffer=8 size=4"};
    for (const char* line : lines) {
        const ParsedLine p = parseScriptLine(line);
        ASSERT_TRUE(p.isCall) << line;
        EXPECT_EQ(describeCall(p.call), line);
    }
}

TEST(CallRunner, WritesWholeNumbersPlainAndOthersExactly) {
    EXPECT_EQ(CallRunner::resultText(0.0f), "0");
    EXPECT_EQ(CallRunner::resultText(-1.0f), "-1");
    EXPECT_EQ(CallRunner::resultText(4294967296.0f), "4294967296");
    EXPECT_EQ(CallRunner::resultText(1.91f), "1.90999997");
}

TEST(InterfaceText, BuildsTheTreeItDescribes) {
    substitute::SubstituteHost host;
    const char* text =
        "Main\n"
        "  File [container]\n"
        "    Load Mesh\n"
        "    Save Mesh [button: Save / Save Mesh]\n"
        "  Tools\n"
        "Second Top\n";
    std::string error;
    ASSERT_TRUE(installInterfaceText(host, text, error)) << error;
    EXPECT_EQ(describeInterface(host), "Main\n  File [container]\n    Load Mesh\n    Save Mesh\n  Tools\nSecond Top\n");

    substitute::SubstituteHost bad;
    EXPECT_FALSE(installInterfaceText(bad, "Main\n      Too Deep\n", error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(installInterfaceText(bad, "Main [shiny]\n", error));
    EXPECT_FALSE(installInterfaceText(bad, "\n# nothing\n", error));
}

using test_support::readAll;

TEST(HostReport, CountsMaskValuesAndCreaseEdges) {
    HostSnapshot before, after;
    before.maskBytes = {0, 0, 0, 0};
    after.maskBytes = {200, 0, 200, 7};
    before.creaseBytes = {0, 0x03};
    after.creaseBytes = {0x0C | 0xC0, 0x03};
    after.textureName = "new";
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    reportChanges(before, after, out);
    const std::string text = readAll(out);
    std::fclose(out);
    EXPECT_NE(text.find("mask: 2 vertices now 200"), std::string::npos) << text;
    EXPECT_NE(text.find("mask: 1 vertex now 7"), std::string::npos) << text;
    EXPECT_NE(text.find("creases: 1 polygon changed, crease edges 1 -> 3"), std::string::npos) << text;
    EXPECT_NE(text.find("texture renamed: \"\" -> \"new\""), std::string::npos) << text;
    EXPECT_EQ(creaseEdgesIn(0xFF), 4);
    EXPECT_EQ(creaseEdgesIn(0x04), 1);
}

using Captured = test_support::CapturedSession;

Captured runScript(const std::string& script, bool keepGoing) {
    SessionOptions options;
    options.keepGoing = keepGoing;
    return test_support::runCaptured(options, script);
}

TEST(Session, RunsEachLineAgainstTheLibraryAndNamesTheLinesThatCannotRun) {
    const Captured stopped = runScript("Version\nNoSuchExport \"x\"\nVersion 3\n", false);
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_NE(stopped.out.find("Version -> 1.90999997"), std::string::npos) << stopped.out;
    EXPECT_EQ(stopped.out.find("Version 3 ->"), std::string::npos) << "went on after a bad line";
    EXPECT_NE(stopped.err.find("line 2: NoSuchExport is not an export of Tollgram"), std::string::npos) << stopped.err;

    const Captured goneOn = runScript("Version\nVersion \"unclosed\nVersion 3\n", true);
    EXPECT_EQ(goneOn.exitCode, 1);
    EXPECT_NE(goneOn.out.find("Version 3 -> 1.90999997"), std::string::npos) << goneOn.out;
    EXPECT_NE(goneOn.err.find("line 2: the quoted text has no closing quote"), std::string::npos) << goneOn.err;

    const Captured clean = runScript("# nothing but the version\nVersion\n", false);
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_NE(clean.out.find("nothing changed"), std::string::npos) << clean.out;
}

TEST(Session, KnowsHelpAndQuitAndTheEndOfInputTypedAsACharacter) {
    // A byte-order mark before the first call, help for all and for one
    // export, then Ctrl-D as a line: nothing after it runs.
    const Captured helped = runScript("\xEF\xBB\xBFVersion\nhelp\nhelp GetOBJInfo\nhelp Versions\n\x04\nVersion 7\n", false);
    EXPECT_EQ(helped.exitCode, 0) << helped.err;
    EXPECT_NE(helped.out.find("Version -> 1.90999997"), std::string::npos) << helped.out;
    for (const char* name : {"LoadOBJFile", "SetMesh3DFromOBJSmoothGroup", "AppLinkOpenFile", "SaveTextureThumbnail"}) {
        EXPECT_NE(helped.out.find(std::string("  ") + name + " "), std::string::npos) << name << " not listed";
    }
    EXPECT_NE(helped.out.find("\"smoothGroupCount\""), std::string::npos) << "help GetOBJInfo names no keys";
    EXPECT_NE(helped.out.find("Versions is not an export of Tollgram"), std::string::npos) << helped.out;
    EXPECT_EQ(helped.out.find("Version 7"), std::string::npos) << "ran on after the end of input";

    const Captured quit = runScript("Version\n  \x1a\r\nVersion 7\n", false);
    EXPECT_EQ(quit.out.find("Version 7"), std::string::npos) << "ran on after Ctrl-Z";
    const Captured typedQuit = runScript("quit\nVersion 7\n", false);
    EXPECT_EQ(typedQuit.out.find("Version 7"), std::string::npos);
    EXPECT_EQ(typedQuit.exitCode, 0);
}

TEST(Guide, DescribesEveryExportOfTheTableOnceAndInItsOrder) {
    std::vector<std::string> table, described;
#define TOLLGRAM_EXPORT(name, failure) table.push_back(#name);
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    for (const ExportSummary& summary : exportSummaries()) {
        described.push_back(summary.name);
        EXPECT_FALSE(summary.family.empty()) << summary.name;
        EXPECT_GT(summary.summary.size(), 10u) << summary.name << " has no summary";
        EXPECT_NE(exportHelp(summary.name).find("Result"), std::string::npos) << summary.name << " tells no result";
    }
    std::vector<std::string> sortedTable = table, sortedDescribed = described;
    std::sort(sortedTable.begin(), sortedTable.end());
    std::sort(sortedDescribed.begin(), sortedDescribed.end());
    EXPECT_EQ(sortedDescribed, sortedTable);
    EXPECT_EQ(exportHelp("NoSuchExport"), "");
}

TEST(Session, TakesRelativePathsFromTheStartingFolderWithOrWithoutOut) {
    test::TempFolder folder;
    folder.write("plate.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\ng plate\nf 1 2 3 4\n");
    const fs::path here = fs::current_path();
    fs::current_path(folder.path());
    for (const char* out : {"", "pictures"}) {
        SessionOptions options;
        options.library = TOLLGRAM_LIBRARY_FILE;
        options.meshFile = "plate.obj";
        options.outDirectory = out;
        std::istringstream lines(
            "LoadOBJFile \"plate.obj\"\nSetMesh3DFromOBJGroup \"mask\" 1\nExportOBJGroup \"copy.obj\" 1\nFreeOBJModel\n");
        std::FILE* text = std::tmpfile();
        EXPECT_EQ(runSession(options, lines, text, text), 0) << readAll(text);
        const std::string printed = readAll(text);
        std::fclose(text);
        EXPECT_NE(printed.find("LoadOBJFile \"plate.obj\" -> 1"), std::string::npos) << printed;
        EXPECT_NE(printed.find("\"mask\" 1 -> 4"), std::string::npos) << printed;
        EXPECT_TRUE(fs::exists("copy.obj")) << "with --out \"" << out << "\"";
        fs::remove("copy.obj");
    }
    EXPECT_TRUE(fs::exists("pictures/mesh.png"));
    EXPECT_FALSE(fs::exists("pictures/copy.obj"));
    fs::current_path(here);
}

TEST(Session, TellsItsVersionAndTheLibrarys) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(printVersion(TOLLGRAM_LIBRARY_FILE, out, err), 0);
    const std::string text = readAll(out);
    EXPECT_EQ(text.rfind("tollgram-host 1.9.1.0\n", 0), 0u) << text;
    EXPECT_NE(text.find(": Version -> 1.90999997"), std::string::npos) << text;
    EXPECT_EQ(printVersion("no-such-library-file", out, err), 2);
    std::fclose(out);
    std::fclose(err);
}

TEST(Session, SaysWhenTheLibraryCannotBeLoaded) {
    SessionOptions options;
    options.library = "no-such-library-file";
    std::istringstream lines("Version\n");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(runSession(options, lines, out, err), 2);
    EXPECT_NE(readAll(err).find("tollgram-host: "), std::string::npos);
    std::fclose(out);
    std::fclose(err);
}

TEST(Demo, MakesItsSampleAndPictures) {
    const tollgram::test::TempFolder scratch;
    const fs::path folder = scratch.path() / "demo";
    const fs::path here = fs::current_path();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int exitCode = runDemo(TOLLGRAM_LIBRARY_FILE, folder.string(), out, err);
    EXPECT_EQ(fs::current_path(), here) << "the demo left the folder it was started in";
    const std::string text = readAll(out);
    std::fclose(out);
    std::fclose(err);
    EXPECT_EQ(exitCode, 0) << text;
    EXPECT_NE(text.find("Version -> 1.90999997"), std::string::npos) << text;
    EXPECT_NE(text.find("/sample.obj\" -> 3"), std::string::npos) << text;
    EXPECT_NE(text.find("SetMesh3DFromOBJGroup \"mask\" 3 -> 36"), std::string::npos) << text;
    EXPECT_NE(text.find("mask: 16 vertices now 200"), std::string::npos) << text;
    for (const char* written : {"panel.obj", "smooth-1.obj", "thumbnail.psd", "thumbnail.psd.png"}) {
        EXPECT_TRUE(fs::exists(folder / written)) << written;
    }
    EXPECT_EQ(fs::file_size(folder / "thumbnail.psd"), 40u + 3u * 128u * 96u);
    EXPECT_GT(fs::file_size(folder / "sample.obj"), 1000u);
    EXPECT_GT(fs::file_size(folder / "sample.mtl"), 50u);
    ASSERT_TRUE(fs::exists(folder / "mesh.png"));
    EXPECT_GT(fs::file_size(folder / "mesh.png"), 1000u);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tollgram::host_tool
