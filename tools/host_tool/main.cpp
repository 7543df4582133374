// tollgram-host: try the library's exports without Kavrex.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "host_tool/plugin_library.h"
#include "host_tool/session.h"
#include "host_tool/terminal.h"

namespace {

const char kUsage[] =
    "usage: tollgram-host [options] [SCRIPT]    run the calls of SCRIPT (or standard input)\n"
    "       tollgram-host demo [--out DIR] [--library FILE]\n"
    "                                           the typical road on an embedded sample\n"
    "options:\n"
    "  --library FILE     the library to load (default: the one beside this program)\n"
    "  --mesh FILE.obj    the host mesh: vertices, polygons and group names of an OBJ file\n"
    "  --texture FILE     the current texture, from a PNG, JPEG, BMP or TGA file\n"
    "  --ui FILE          the interface tree, from an indented text file\n"
    "  --alpha-name NAME  the current alpha's name\n"
    "  --texture-name NAME  the current texture's name\n"
    "  --out DIR          run the calls in DIR and draw pictures of the result there\n"
    "  --keep-going       go on after a line that cannot run\n"
    "A script line is an export and its arguments, for example:\n"
    "  GetOBJGroupInfo \"name\" 1 buffer=256\n";

std::string besideProgram(const char* argv0, const char* fileName) {
    const std::filesystem::path program(argv0);
    if (!program.has_parent_path()) return fileName;
    return (std::filesystem::absolute(program).parent_path() / fileName).string();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tollgram::host_tool;
    SessionOptions options;
    options.library = besideProgram(argv[0], PluginLibrary::defaultFileName());
    std::string scriptPath;
    bool demo = false;
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
            std::fprintf(stderr, "tollgram-host: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        } else if (scriptPath.empty()) scriptPath = arg;
        else {
            std::fprintf(stderr, "tollgram-host: one script at a time\n%s", kUsage);
            return 2;
        }
    }
    // Paths given on the command line stay valid after the move into --out.
    for (std::string* path : {&options.meshFile, &options.textureFile, &options.interfaceFile, &scriptPath}) {
        if (!path->empty()) *path = std::filesystem::absolute(*path).string();
    }
    if (options.library.find_first_of("/\\") != std::string::npos) {
        options.library = std::filesystem::absolute(options.library).string();
    }
    if (demo) {
        return runDemo(options.library, options.outDirectory.empty() ? "tollgram-demo" : options.outDirectory, stdout,
                       stderr);
    }
    if (scriptPath.empty()) {
        options.prompt = standardInputIsTerminal();
        return runSession(options, std::cin, stdout, stderr);
    }
    std::ifstream script(scriptPath);
    if (!script) {
        std::fprintf(stderr, "tollgram-host: cannot read the script %s\n", scriptPath.c_str());
        return 2;
    }
    return runSession(options, script, stdout, stderr);
}
