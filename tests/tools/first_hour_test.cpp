// What a script author meets in a first hour with the tool: starting it by
// name, the hints after a call that cannot do what was meant, a script
// saved as UTF-16, the boxes among the calls, the prompt.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "host_tool/guide_help.h"
#include "host_tool/hints.h"
#include "host_tool/input_files.h"
#include "host_tool/plugin_library.h"
#include "host_tool/script.h"
#include "host_tool/script_text.h"
#include "host_tool/shaping_calls.h"
#include "host_tool/session.h"
#include "stb_image.h"
#include "substitute_host/substitute_host.h"
#include "support/temp_folder.h"
#include "tools/captured_session.h"

namespace tollgram::host_tool {
namespace {

namespace fs = std::filesystem;

using Outcome = test_support::CapturedSession;
Outcome run(const SessionOptions& options, const std::string& script) { return test_support::runCaptured(options, script); }

const char kPlate[] = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 2 1 0\ng a\nf 1 2 3 4\ng b\nf 2 5 6 3\n";

TEST(StartedByName, FindsTheLibraryBesideItsOwnProgramFile) {
    const std::string library = PluginLibrary::besideProgram();
    EXPECT_TRUE(fs::path(library).is_absolute()) << library;
    EXPECT_EQ(fs::path(library).filename().string(), PluginLibrary::defaultFileName());
    EXPECT_TRUE(fs::exists(library)) << library << ": the library is built beside the test program";
}

#if !defined(_WIN32)
// The program itself, started as a user starts it: by name from PATH, and
// through a symbolic link in another folder, from a folder of its own.
TEST(StartedByName, RunsFromPathAndThroughASymbolicLink) {
    test::TempFolder folder;
    const fs::path program = fs::absolute(TOLLGRAM_HOST_PROGRAM);
    fs::create_symlink(program, folder.path() / "th");
    const std::string output = (folder.path() / "output.txt").string();
    const std::string starts[] = {
        "PATH='" + program.parent_path().string() + "':/usr/bin:/bin tollgram-host --version",
        "./th --version",
    };
    for (const std::string& start : starts) {
        const std::string command = "cd '" + folder.path().string() + "' && " + start + " >'" + output + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << start << ": " << test::contentOf(output);
        const std::string printed = test::contentOf(output);
        EXPECT_NE(printed.find("libtollgram.so: Version -> 1.90999997"), std::string::npos) << start << ": " << printed;
        EXPECT_NE(printed.find(program.parent_path().string()), std::string::npos)
            << start << ": the library beside the program's own file, by its full path: " << printed;
    }
}

// A folder given as the script or as the mesh stops the run before it
// starts: POSIX opens a folder as a file whose every read fails.
TEST(StartedByName, RefusesAFolderAsTheScriptOrTheMesh) {
    test::TempFolder folder;
    fs::create_directory(folder.path() / "calls");
    folder.write("calls.txt", "Version\n");
    const std::string output = (folder.path() / "output.txt").string();
    const std::string program = fs::absolute(TOLLGRAM_HOST_PROGRAM).string();
    struct Case {
        const char* arguments;
        const char* message;
    };
    const Case cases[] = {
        {"calls", "tollgram-host: cannot read the script calls: it is a folder"},
        {"--mesh calls calls.txt", "tollgram-host: --mesh: cannot read calls: it is a folder"},
        {"< calls", "tollgram-host: cannot read the script from standard input"},
    };
    for (const Case& c : cases) {
        // The shell writes the exit code down: 134 was an abort.
        const std::string command = "cd '" + folder.path().string() + "' && { '" + program + "' " + c.arguments +
                                    " >'" + output + "' 2>&1; echo $? >code.txt; }";
        ASSERT_EQ(std::system(command.c_str()), 0) << c.arguments;
        const std::string printed = test::contentOf(output);
        EXPECT_EQ(folder.read("code.txt"), "2\n") << c.arguments << ": " << printed;
        EXPECT_NE(printed.find(c.message), std::string::npos) << c.arguments << ": " << printed;
        EXPECT_EQ(printed.find("What changed"), std::string::npos) << c.arguments << ": ran as a script: " << printed;
    }
}
#endif

TEST(Hints, FollowAWrongCaseKeyAMisspeltExportAndAMissingMesh) {
    test::TempFolder folder;
    const std::string plate = folder.write("plate.obj", kPlate);
    SessionOptions withMesh;
    withMesh.meshFile = plate;
    withMesh.keepGoing = true;
    const Outcome keys = run(withMesh, "LoadOBJFile \"" + plate +
                                       "\"\nGetOBJInfo \"groupcount\"\nSetMesh3DInfo \"MaskValue\" 3\n"
                                       "SetMesh3DInfo \"maskValue\" 3\nGetOBJInfo \"groupCount\"\nSetThumbnail \"size\" 3\n"
                                       "LoadOBJfile \"x.obj\"\nhelp loadobjfile\n");
    EXPECT_NE(keys.out.find("GetOBJInfo \"groupcount\" -> 0\n  hint: keys match exactly: \"groupCount\", not \"groupcount\"\n"),
              std::string::npos)
        << keys.out;
    EXPECT_NE(keys.out.find("\"MaskValue\" 3 -> -1\n  hint: keys match exactly: \"maskValue\", not \"MaskValue\"\n"),
              std::string::npos)
        << keys.out;
    EXPECT_NE(keys.out.find("SetThumbnail \"size\" 3 -> -1\n  hint: SetThumbnail takes the keys \"width\" or \"height\"\n"),
              std::string::npos)
        << keys.out;
    // A call that does what it says has no hint after it.
    EXPECT_NE(keys.out.find("SetMesh3DInfo \"maskValue\" 3 -> 0\nGetOBJInfo \"groupCount\" -> 2\nSetThumbnail"),
              std::string::npos)
        << keys.out;
    EXPECT_NE(keys.err.find("LoadOBJfile is not an export of Tollgram; did you mean LoadOBJFile?"), std::string::npos)
        << keys.err;
    EXPECT_NE(keys.out.find("loadobjfile is not an export of Tollgram; did you mean LoadOBJFile?"), std::string::npos)
        << keys.out;

    const Outcome noMesh = run(SessionOptions{}, "LoadOBJFile \"" + plate + "\"\nSetMesh3DFromOBJGroup \"mask\" 1\n"
                                             "GetTextureInfo \"name\" buffer=8\n");
    EXPECT_NE(noMesh.out.find("\"mask\" 1 -> -1\n  hint: the host has no mesh: give one with --mesh FILE.obj\n"),
              std::string::npos)
        << noMesh.out;
    EXPECT_NE(noMesh.out.find("hint: the host has no texture"), std::string::npos) << noMesh.out;
}

TEST(Hints, KnowTheKeysTheGuideGivesEachExport) {
    for (const std::string& name : exportNames()) {
        const std::string section = exportHelp(name);
        for (const std::string& key : keysOf(name)) {
            EXPECT_NE(section.find("\"" + key + "\""), std::string::npos) << name << " does not name the key " << key;
        }
    }
    EXPECT_EQ(nearestName("vertexcount", keysOf("GetOBJInfo")), "vertexCount");
    EXPECT_EQ(nearestName("faceCnt", keysOf("GetOBJInfo")), "faceCount");
    EXPECT_EQ(nearestName("nm", keysOf("GetFileInfo")), "") << "short words: only their case may differ";
    EXPECT_EQ(nearestName("NAME", keysOf("GetFileInfo")), "name");
    EXPECT_EQ(nearestName("Unrelated", exportNames()), "");
}

TEST(MeshPictureLegend, NamesTheGroupsEachMaskValueAndTheCreasesCameFrom) {
    test::TempFolder folder;
    const std::string plate = folder.write("plate.obj", kPlate);
    PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.open(TOLLGRAM_LIBRARY_FILE, error)) << error;
    substitute::SubstituteHost host;
    host.setMesh(6, 2);
    ShapingCalls shaping(library, host.context());
    auto call = [&](const std::string& line) {
        const ParsedLine parsed = parseScriptLine(line);
        const ExportFunction function = library.find(parsed.call.exportName);
        const float result = function(parsed.call.text ? parsed.call.text->c_str() : nullptr, parsed.call.value, nullptr,
                                      0, 0, 0, host.context());
        shaping.note(parsed.call, result);
    };
    call("LoadOBJFile \"" + plate + "\"");
    call("SetMesh3DFromOBJGroup \"mask\" 1");  // mask value 0: nothing shows
    call("SetMesh3DInfo \"maskValue\" 300");  // kept as 44
    call("SetMesh3DFromOBJGroup \"mask\" 2");
    call("SetMesh3DFromOBJGroup \"mask\" 2");
    call("SetMesh3DFromOBJGroup \"crease\" 1");
    call("SetMesh3DFromOBJGroup \"crease\" 7");  // no such group: -1
    EXPECT_EQ(shaping.groups().creased, std::vector<std::string>{"\"a\""});
    call("SetMesh3DInfo \"smoothAll\"");  // clears the creases of "a"
    call("SetMesh3DFromOBJGroup \"crease\" 2");
    call("FreeOBJModel");
    EXPECT_EQ(shaping.groups().masked.size(), 1u);
    EXPECT_EQ(shaping.groups().masked.at(44), std::vector<std::string>{"\"b\""});
    EXPECT_EQ(shaping.groups().creased, std::vector<std::string>{"\"b\""});
}

TEST(Messages, NameTheScriptAndSayWhatIsWrong) {
    SessionOptions named;
    named.scriptName = "calls.txt";
    const Outcome unquoted = run(named, "Version\nGetOBJInfo groupCount\n");
    EXPECT_EQ(unquoted.exitCode, 1);
    EXPECT_NE(unquoted.err.find("calls.txt:2: groupCount is neither a quoted text"), std::string::npos) << unquoted.err;
    EXPECT_NE(unquoted.err.find("(a text goes in quotes: \"groupCount\")"), std::string::npos) << unquoted.err;

    test::TempFolder folder;
    const std::string picture = folder.write("picture.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\nv 1 2 3\n", 20));
    SessionOptions wrongMesh;
    wrongMesh.meshFile = picture;
    const Outcome binary = run(wrongMesh, "Version\n");
    EXPECT_EQ(binary.exitCode, 2);
    EXPECT_NE(binary.err.find("is not an OBJ file (it holds binary data)"), std::string::npos) << binary.err;
    wrongMesh.meshFile = folder.write("empty.obj", "# no vertices\n");
    EXPECT_NE(run(wrongMesh, "Version\n").err.find("has no vertices"), std::string::npos);
    wrongMesh.meshFile = (folder.path() / "missing.obj").string();
    EXPECT_NE(run(wrongMesh, "Version\n").err.find("missing.obj: there is no such file"), std::string::npos);

    SessionOptions wrongTexture;
    wrongTexture.textureFile = (folder.path() / "missing.png").string();
    const Outcome missing = run(wrongTexture, "Version\n");
    EXPECT_NE(missing.err.find("missing.png: there is no such file"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find("fopen"), std::string::npos) << missing.err;
    wrongTexture.textureFile = folder.write("notes.png", "not a picture at all\n");
    EXPECT_NE(run(wrongTexture, "Version\n").err.find("is not a picture the tool reads"), std::string::npos);
}

TEST(Messages, RefuseAFolderGivenAsAFile) {
    test::TempFolder folder;
    fs::create_directory(folder.path() / "models");
    const std::string models = folder.at("models");
    std::string bytes = "left over", why;
    EXPECT_FALSE(readInputFile(models, bytes, why));
    EXPECT_EQ(why, "it is a folder");
    EXPECT_TRUE(bytes.empty());
    const std::string script("Version\0\n", 9);
    ASSERT_TRUE(readInputFile(folder.write("calls.txt", script), bytes, why)) << why;
    EXPECT_EQ(bytes, script);

    SessionOptions options;
    options.meshFile = models;
    const Outcome mesh = run(options, "Version\n");
    EXPECT_EQ(mesh.exitCode, 2);
    EXPECT_NE(mesh.err.find("--mesh: cannot read " + models + ": it is a folder"), std::string::npos) << mesh.err;
    EXPECT_EQ(mesh.out.find("Version ->"), std::string::npos) << "ran without its mesh";
    options = SessionOptions{};
    options.interfaceFile = models;
    EXPECT_NE(run(options, "Version\n").err.find("--ui: cannot read " + models + ": it is a folder"), std::string::npos);
    options = SessionOptions{};
    options.textureFile = models;
    EXPECT_NE(run(options, "Version\n").err.find("--texture: cannot read " + models + ": it is a folder"),
              std::string::npos);
}

TEST(Messages, NameANulByteByLineAndColumnAndRunNothingOfItsLine) {
    SessionOptions named;
    named.scriptName = "calls.txt";
    named.keepGoing = true;
    // Inside quotes the library would see "a" alone; outside them, and
    // after a character of two bytes, the column counts characters.
    using namespace std::string_literals;
    const Outcome ran =
        run(named, "Version\nGetOBJInfo \"a\0b\"\nGetOBJInfo \0 \"x\"\n# caf\xC3\xA9 \0\nhelp\0\nVersion 2\n"s);
    EXPECT_EQ(ran.exitCode, 1);
    EXPECT_NE(ran.err.find("calls.txt:2: column 14 holds a NUL byte"), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find("calls.txt:3: column 12 holds a NUL byte"), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find("calls.txt:4: column 8 holds a NUL byte"), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find("calls.txt:5: column 5 holds a NUL byte"), std::string::npos) << ran.err;
    EXPECT_EQ(ran.err.find('\0'), std::string::npos) << "a message cut at the byte";
    EXPECT_EQ(ran.out.find("GetOBJInfo"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("Version 2 -> 1.90999997"), std::string::npos) << ran.out;
}

TEST(Utf16Script, IsReadAsTheSameCalls) {
    // "GetTextureInfo" named in a comment with an e-acute and a character
    // beyond the first 65536, then a call; little-endian with its mark as
    // PowerShell 5 writes it, and big-endian without one.
    const std::u16string text = u"# caf\u00e9 \U0001F600\r\nVersion 2\r\n";
    std::string little = "\xFF\xFE", big;
    for (char16_t unit : text) {
        little += static_cast<char>(unit & 0xFF);
        little += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit & 0xFF);
    }
    for (const std::string& bytes : {little, big}) {
        ASSERT_TRUE(looksLikeUtf16(bytes));
        const std::string script = scriptTextOf(bytes);
        EXPECT_EQ(script, "# caf\xC3\xA9 \xF0\x9F\x98\x80\r\nVersion 2\r\n");
        const Outcome ran = run(SessionOptions{}, script);
        EXPECT_EQ(ran.exitCode, 0) << ran.err;
        EXPECT_NE(ran.out.find("Version 2 -> 1.90999997"), std::string::npos) << ran.out;
    }
    const std::string utf8 = "\xEF\xBB\xBFVersion\n";
    EXPECT_FALSE(looksLikeUtf16(utf8));
    EXPECT_EQ(scriptTextOf(utf8), utf8);
}

TEST(Boxes, StandInTheirPlaceAmongTheCallsInOneStream) {
    const Outcome ran = run(SessionOptions{}, "Version\nLoadOBJFile \"no-such-model.obj\"\nVersion 1\n");
    const std::string hint = "  hint: relative paths start from the folder the tool runs in, not from the script's or "
                             "the model's; a full path works from anywhere\n";
    EXPECT_NE(ran.out.find("Version -> 1.90999997\n[IMPORT ERROR] OBJ file not found: no-such-model.obj\n"
                           "LoadOBJFile \"no-such-model.obj\" -> 0\n" +
                           hint + "Version 1 -> 1.90999997\n"),
              std::string::npos)
        << ran.out;
    EXPECT_EQ(ran.err.find("IMPORT ERROR"), std::string::npos) << ran.err;
}

TEST(Previews, OfTheSameDocumentWrittenAgainAreKeptApart) {
    test::TempFolder folder;
    const fs::path here = fs::current_path();
    fs::current_path(folder.path());
    SessionOptions options;
    options.sampleTextureWidth = 64;
    options.sampleTextureHeight = 64;
    options.outDirectory = "pictures";
    const Outcome ran = run(options, "SaveTextureThumbnail \"t.psd\" 32\nSaveTextureThumbnail \"t.psd\" 16\n"
                                 "SaveTextureThumbnail \"t.psd\" 8\n");
    fs::current_path(here);
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    const char* names[] = {"t.psd.png", "t.psd.2.png", "t.psd.3.png"};
    const int sizes[] = {32, 16, 8};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(ran.out.find(std::string("  ") + names[i] + ": preview of t.psd\n"), std::string::npos) << ran.out;
        int width = 0, height = 0, channels = 0;
        const std::string png = (folder.path() / "pictures" / names[i]).string();
        ASSERT_TRUE(stbi_info(png.c_str(), &width, &height, &channels)) << png;
        EXPECT_EQ(width, sizes[i]) << names[i] << " shows another call's document";
    }
}

TEST(Prompt, SaysWhichLibraryAndGoesOnAfterAnEscapeSequence) {
    SessionOptions options;
    options.prompt = true;
    const Outcome ran = run(options, "\x1b[A\nVersion 5\n");
    EXPECT_NE(ran.out.find(std::string("with ") + TOLLGRAM_LIBRARY_FILE + " (help lists the exports"),
              std::string::npos)
        << ran.out;
    EXPECT_NE(ran.err.find("escape sequence"), std::string::npos) << ran.err;
    EXPECT_NE(ran.out.find("Version 5 -> 1.90999997"), std::string::npos) << "the session ended at the escape sequence";
    // Read from a script, the line is refused and the run stops as for any bad line.
    const Outcome script = run(SessionOptions{}, "\x1b[A\nVersion 5\n");
    EXPECT_EQ(script.exitCode, 1);
    EXPECT_EQ(script.out.find("Version 5"), std::string::npos);
}

TEST(Help, FitsEightyColumns) {
    std::istringstream lines(helpText(""));
    size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) EXPECT_LE(line.size(), 80u) << line;
    EXPECT_GT(count, 40u);
}

}  // namespace
}  // namespace tollgram::host_tool
