// What a script author meets in the second hour: hints after bare codes,
// messages that say what to write, texts in the code page the library
// reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host_tool/hints.h"
#include "host_tool/script.h"
#include "host_tool/session.h"
#include "support/temp_folder.h"
#include "tools/captured_session.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace tollgram::host_tool {
namespace {

namespace fs = std::filesystem;

using Outcome = test_support::CapturedSession;
Outcome run(const SessionOptions& options, const std::string& script) { return test_support::runCaptured(options, script); }

// The session's current folder for the length of a test.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : before_(fs::current_path()) { fs::current_path(folder); }
    ~InFolder() { fs::current_path(before_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path before_;
};

void expectLine(const std::string& printed, const std::string& line) {
    EXPECT_NE(printed.find(line + "\n"), std::string::npos) << "no line\n" << line << "\nin\n" << printed;
}

// Two quads on six vertices in groups "a" and "b", one smoothing group.
const char kPlate[] = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 2 1 0\ns 1\ng a\nf 1 2 3 4\ng b\nf 2 5 6 3\n";

TEST(Hints, ExplainTheBareCodesTheToolCanAccountFor) {
    test::TempFolder folder;
    folder.write("plate.obj", kPlate);
    folder.write("quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    folder.write("four.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n");
    folder.write("comma.obj", "v 0 0 0\nv 0,5 0 0\nv 1 0 zz\nf 1 2 3\n");
    folder.write("picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    fs::create_directories(folder.path() / "scripts");
    folder.write("scripts/beside.obj", kPlate);
    const InFolder here(folder.path());

    SessionOptions options;
    options.meshFile = "quad.obj";
    options.keepGoing = true;
    options.scriptName = (fs::path("scripts") / "calls.txt").string();
    const Outcome ran = run(options,
                            "GetOBJInfo \"vertexCount\"\n"
                            "LoadOBJFile \"plate.obj\"\n"
                            "SetMesh3DFromOBJGroup \"mask\" 1\n"
                            "GetOBJGroupInfo \"vertexCount\" 3\n"
                            "ExportOBJGroup \"x.obj\" -1\n"
                            "SetMesh3DFromOBJSmoothGroup \"crease\" 2\n"
                            "ReplaceOBJVertices \"four.obj\"\n"
                            "LoadOBJFile \"beside.obj\"\n"
                            "GetOBJInfo \"faceCount\"\n"
                            "LoadOBJFile \"missing.obj\"\n"
                            "LoadOBJFile \"picture.png\"\n"
                            "LoadOBJFile \"comma.obj\"\n"
                            "FreeOBJModel\n"
                            "GetOBJGroupInfo \"name\" 1 buffer=8\n");
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    const std::string& out = ran.out;
    expectLine(out, "GetOBJInfo \"vertexCount\" -> 0\n  hint: no current model: load one with LoadOBJFile first");
    expectLine(out, "SetMesh3DFromOBJGroup \"mask\" 1 -> -3\n  hint: the model has 6 vertices and the host mesh 4: masks "
                    "and creases take the host's vertices to be the model's, in the same order");
    expectLine(out, "GetOBJGroupInfo \"vertexCount\" 3 -> -1\n  hint: the model has 2 groups: numbers 1 to 2");
    expectLine(out, "ExportOBJGroup \"x.obj\" -1 -> -1\n  hint: the model has 2 groups: numbers 0 (the whole model) or 1 to 2");
    expectLine(out, "SetMesh3DFromOBJSmoothGroup \"crease\" 2 -> -1\n  hint: the model has 1 smoothing group: positions 1 "
                    "to 1 (GetOBJSmoothGroupInfo \"value\" N gives the number at N)");
    expectLine(out, "ReplaceOBJVertices \"four.obj\" -> -3\n  hint: the current model has 6 vertices; the file's vertex "
                    "count differs");
    expectLine(out, "LoadOBJFile \"beside.obj\" -> 0\n  hint: relative paths start from the folder the tool runs in, not "
                    "the script's: from here the file is \"" + (fs::path("scripts") / "beside.obj").string() + "\"");
    expectLine(out, "GetOBJInfo \"faceCount\" -> 0\n  hint: no current model: LoadOBJFile \"beside.obj\" (line 8) made none");
    expectLine(out, "LoadOBJFile \"missing.obj\" -> 0\n  hint: relative paths start from the folder the tool runs in, not "
                    "from the script's or the model's; a full path works from anywhere");
    expectLine(out, "LoadOBJFile \"picture.png\" -> 0\n  hint: picture.png is not an OBJ file (it holds binary data): the "
                    "model the library made of it is empty");
    expectLine(out, "LoadOBJFile \"comma.obj\" -> 1\n  hint: comma.obj:2: \"v 0,5 0 0\": \"0,5\" is not a number (the "
                    "decimal point is a full stop, not a comma): the library loads such lines without a word, and the "
                    "model's coordinates are not the file's");
    expectLine(out, "GetOBJGroupInfo \"name\" 1 buffer=8 -> -1   buffer: \"\"\n  hint: no current model: FreeOBJModel "
                    "(line 13) ended it");
    // A call that did what it said has no hint.
    EXPECT_NE(out.find("LoadOBJFile \"plate.obj\" -> 2\nSetMesh3DFromOBJGroup"), std::string::npos) << out;
}

TEST(Hints, SayWhatSizeOfThumbnailFits) {
    SessionOptions options;
    options.sampleTextureWidth = 16;
    options.sampleTextureHeight = 16;
    test::TempFolder folder;
    const Outcome ran = run(options, "SaveTextureThumbnail \"" + folder.at("big.psd") + "\" 100000\n");
    EXPECT_NE(ran.out.find("-> -1\n  hint: a 100000 x 100000 thumbnail takes 37.3 GiB at 4 bytes a pixel, and this "
                           "process can have "),
              std::string::npos)
        << ran.out;
    EXPECT_NE(ran.out.find(" at most fits\n"), std::string::npos) << ran.out;
    EXPECT_EQ(ran.out.find("hint", ran.out.find("hint") + 1), std::string::npos) << "one line: " << ran.out;
}

TEST(Messages, SayWhatToWriteInstead) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"GetDirFileList \"lib\\\"", "no closing quote (inside quotes \\\" stands for a quote mark; a backslash before "
                                     "the closing quote is written \\\\, as in \"lib\\\\\")"},
        {"SetMesh3DInfo \"maskValue\" \"200\"", "numbers go unquoted: write 200, not \"200\""},
        {"ExportOBJGroup \"x.obj\" \"top\"", "only one text per call: ExportOBJGroup takes one text and a number (the "
                                             "group's number, from 1, or 0 for the whole model)"},
        {"ExportOBJGroup \"x.obj\" top", "top is not a number, and ExportOBJGroup takes a number here: the group's "
                                         "number, from 1, or 0 for the whole model"},
        {"MoveButtonAfter \"a\" \"b\"", "only one text per call (the second goes in buffer=\"...\")"},
        {"LoadOBJFile(\"cube.obj\")", "calls are written without parentheses or commas: LoadOBJFile \"cube.obj\""},
        {"GetOBJGroupInfo (\"name, first\", 2)", "without parentheses or commas: GetOBJGroupInfo \"name, first\" 2"},
        {"GetOBJInfo groupCount", "(a text goes in quotes: \"groupCount\")"},
    };
    for (const Case& c : cases) {
        const ParsedLine parsed = parseScriptLine(c.line);
        EXPECT_FALSE(parsed.isCall) << c.line;
        EXPECT_NE(parsed.error.find(c.message), std::string::npos) << c.line << "\n -> " << parsed.error;
    }
    // An explicit number is echoed as written, 0 included.
    for (const char* line : {"SetMesh3DFromOBJGroup \"crease\" 0", "ExportOBJGroup \"whole.obj\" 0", "FreeOBJModel"}) {
        EXPECT_EQ(describeCall(parseScriptLine(line).call), line);
    }
}

TEST(Messages, NameMisspeltExportsByTheirLettersOrTheirWords) {
    struct Case {
        const char* typed;
        const char* meant;
    };
    const Case cases[] = {
        {"ExportGroup", "did you mean ExportOBJGroup?"},
        {"SaveThumbnail", "did you mean SaveTextureThumbnail?"},
        {"GetDirList", "did you mean GetDirFileList?"},
        {"CopyFile", "did you mean FileCopyFrom or FileCopyTo?"},
        {"loadobjfile", "did you mean LoadOBJFile?"},
        {"ExportOBJGrop", "did you mean ExportOBJGroup?"},
    };
    for (const Case& c : cases) EXPECT_NE(notAnExport(c.typed).find(c.meant), std::string::npos) << notAnExport(c.typed);
    EXPECT_EQ(notAnExport("Frobnicate"), "Frobnicate is not an export of Tollgram");
}

#if !defined(_WIN32)
// The program itself: help for a name the guide lacks fails the command, a
// misspelt option is named with the one meant.
TEST(CommandLine, RefusesHelpForAnUnknownNameAndNamesTheOptionMeant) {
    test::TempFolder folder;
    const std::string program = fs::absolute(TOLLGRAM_HOST_PROGRAM).string();
    const std::string output = folder.at("output.txt");
    auto status = [&](const std::string& arguments) {
        const int code = std::system(("'" + program + "' " + arguments + " >'" + output + "' 2>&1").c_str());
        return WIFEXITED(code) ? WEXITSTATUS(code) : -1;
    };
    EXPECT_EQ(status("help ExportGroup"), 1);
    EXPECT_NE(folder.read("output.txt").find("did you mean ExportOBJGroup?"), std::string::npos) << folder.read("output.txt");
    EXPECT_EQ(status("help ExportOBJGroup"), 0);
    EXPECT_EQ(status("--Mesh cube.obj"), 2);
    EXPECT_NE(folder.read("output.txt").find("unknown option --Mesh; did you mean --mesh?"), std::string::npos)
        << folder.read("output.txt");
}
#endif

// Texts reach the library in the code page it reads, as Kavrex hands them;
// the texts it gives back are printed as the script was written.
TEST(CodePage, AnAccentedPathFromAUtf8ScriptLoadsAndNamesComeBackInUtf8) {
    test::TempFolder folder;
    const fs::path models = folder.path() / fs::path(u8"Mod\u00e8les");
    fs::create_directories(models);
#if defined(_WIN32)
    const std::string groupLine = "g caf\xE9\n";  // the OBJ file in the code page, as Windows programs write it
#else
    const std::string groupLine = "g caf\xC3\xA9\n";
#endif
    std::ofstream(models / "cube.obj", std::ios::binary) << "v 0 0 0\nv 1 0 0\nv 1 1 0\n" << groupLine << "f 1 2 3\n";
    const InFolder here(folder.path());
    const Outcome ran = run(SessionOptions{}, "LoadOBJFile \"Mod\xC3\xA8les/none.obj\"\n"
                                              "LoadOBJFile \"Mod\xC3\xA8les/cube.obj\"\nGetOBJGroupInfo \"name\" 1 buffer=16\n");
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    expectLine(ran.out, "[IMPORT ERROR] OBJ file not found: Mod\xC3\xA8les/none.obj");
    expectLine(ran.out, "LoadOBJFile \"Mod\xC3\xA8les/cube.obj\" -> 1");
    expectLine(ran.out, "GetOBJGroupInfo \"name\" 1 buffer=16 -> 0   buffer: \"caf\xC3\xA9\"");

#if defined(_WIN32)
    // No ANSI code page holds a character beyond the first 65536; the line
    // is not run.
    const Outcome refused = run(SessionOptions{}, "Version\nLoadOBJFile \"\xF0\x9F\x98\x80.obj\"\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("line 2: the text holds "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("which the ANSI code page"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out.find("LoadOBJFile"), std::string::npos) << refused.out;
#endif
}

}  // namespace
}  // namespace tollgram::host_tool
