// tollgram-host: try the library's exports without Kavrex.
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host_tool/guide_help.h"
#include "host_tool/hints.h"
#include "host_tool/input_files.h"
#include "host_tool/line_source.h"
#include "host_tool/plugin_library.h"
#include "host_tool/script_text.h"
#include "host_tool/session.h"
#include "host_tool/terminal.h"

namespace {

const char kUsage[] =
    "usage: tollgram-host [options] [SCRIPT]    run the calls of SCRIPT (or standard input)\n"
    "       tollgram-host demo [--out DIR] [--library FILE]\n"
    "                                           the typical road on an embedded sample\n"
    "       tollgram-host help [NAME]           the exports, or what one export does\n"
    "       tollgram-host --version             the tool's version and the library's Version\n"
    "                                           (also -v, -V or version)\n"
    "options:\n"
    "  --library FILE     the library to load (default: the one beside this program's file)\n"
    "  --mesh FILE.obj    the host mesh: vertices, polygons and groups of an OBJ file,\n"
    "                     taken as the library takes them\n"
    "  --texture FILE     the current texture, from a PNG, JPEG, BMP or TGA file\n"
    "  --ui FILE          the interface tree, from an indented text file\n"
    "  --alpha-name NAME  the current alpha's name\n"
    "  --texture-name NAME  the current texture's name\n"
    "  --out DIR          draw pictures of the result in DIR (made when missing)\n"
    "  --keep-going       go on after a line that cannot run\n"
    "Relative paths, in these options and in the script's calls alike, are taken\n"
    "from the folder the tool is started in.\n"
    "A script line is an export and its arguments, for example:\n"
    "  GetOBJGroupInfo \"name\" 1 buffer=256\n"
    "a quoted text (\\\" and \\\\ inside it stand for \" and \\), a number, buffer=N or\n"
    "buffer=\"TEXT\", size=N; # starts a comment. help lists the exports, help NAME\n"
    "tells one; quit or the end of input ends the prompt.\n"
    "Exit code: 0 every line ran, 1 a line could not run, 2 the run could not start.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace tollgram::host_tool;
    SessionOptions options;
    options.library = PluginLibrary::besideProgram();
    std::string scriptPath, helpWord;
    bool demo = false, version = false, help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&](std::string& into) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tollgram-host: %s needs a value\n%s", arg.c_str(), kUsage);
                std::exit(2);
            }
            into = argv[++i];
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version" || arg == "-v" || arg == "-V" || (arg == "version" && i == 1)) {
            version = true;
        } else if (arg == "help" && i == 1) {
            help = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') helpWord = argv[++i];
        } else if (arg == "demo" && i == 1) demo = true;
        else if (arg == "--library") next(options.library);
        else if (arg == "--mesh") next(options.meshFile);
        else if (arg == "--texture") next(options.textureFile);
        else if (arg == "--ui") next(options.interfaceFile);
        else if (arg == "--alpha-name") { next(text); options.alphaName = text; }
        else if (arg == "--texture-name") { next(text); options.textureName = text; }
        else if (arg == "--out") next(options.outDirectory);
        else if (arg == "--keep-going") options.keepGoing = true;
        else if (!arg.empty() && arg[0] == '-') {
            static const std::vector<std::string> knownOptions = {"--library", "--mesh", "--texture", "--ui",
                                                             "--alpha-name", "--texture-name", "--out",
                                                             "--keep-going", "--help", "--version"};
            const std::string meant = nearestName(arg, knownOptions);
            std::fprintf(stderr, "tollgram-host: unknown option %s%s\n%s", arg.c_str(),
                         meant.empty() ? "" : ("; did you mean " + meant + "?").c_str(), kUsage);
            return 2;
        } else if (scriptPath.empty()) scriptPath = arg;
        else {
            std::fprintf(stderr, "tollgram-host: one script at a time\n%s", kUsage);
            return 2;
        }
    }
    if (help) {
        // help NAME for a name the guide does not describe is a mistake to
        // stop a script on.
        const bool known = helpWord.empty() || !exportHelp(helpWord).empty();
        std::fputs(helpText(helpWord).c_str(), known ? stdout : stderr);
        return known ? 0 : 1;
    }
    if (version) return printVersion(options.library, stdout, stderr);
    if (demo) {
        return runDemo(options.library, options.outDirectory.empty() ? "tollgram-demo" : options.outDirectory, stdout,
                       stderr);
    }
    // The script's bytes are read whole, so that a script saved as UTF-16
    // is read as well.
    std::string bytes;
    if (scriptPath.empty()) {
        prepareStandardInput();
        if (standardInputIsTerminal()) {
            options.prompt = true;
            const std::unique_ptr<LineSource> lines = terminalLines(stdout);
            return runSession(options, *lines, stdout, stderr);
        }
        if (!readWholeStream(stdin, bytes)) {
            std::fprintf(stderr, "tollgram-host: cannot read the script from standard input\n");
            return 2;
        }
    } else {
        std::string why;
        if (!readInputFile(scriptPath, bytes, why)) {
            std::fprintf(stderr, "tollgram-host: cannot read the script %s: %s\n", scriptPath.c_str(), why.c_str());
            return 2;
        }
        options.scriptName = scriptPath;
    }
    const std::string text = scriptTextOf(bytes);
    std::istringstream lines(text);
    return runSession(options, lines, stdout, stderr);
}
