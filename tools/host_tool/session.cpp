#include "host_tool/session.h"

#include <filesystem>
#include <set>
#include <sstream>
#include <vector>

#include "host_tool/call_runner.h"
#include "host_tool/demo.h"
#include "host_tool/guide_help.h"
#include "host_tool/host_report.h"
#include "host_tool/pictures.h"
#include "host_tool/plugin_library.h"
#include "host_tool/scene.h"
#include "host_tool/script.h"
#include "substitute_host/substitute_host.h"

namespace tollgram::host_tool {

namespace fs = std::filesystem;

namespace {

const std::set<std::string>& knownExports() {
    static const std::set<std::string> names = {
#define TOLLGRAM_EXPORT(name, failure) #name,
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    };
    return names;
}

bool setUpScene(const SessionOptions& options, substitute::SubstituteHost& host, SceneMesh& mesh, std::FILE* err) {
    std::string error;
    if (!options.meshFile.empty()) {
        if (!readSceneMesh(options.meshFile, mesh, error)) {
            std::fprintf(err, "tollgram-host: --mesh: %s\n", error.c_str());
            return false;
        }
        installMesh(host, mesh);
    }
    if (!options.textureFile.empty() && !installTextureFile(host, options.textureFile, error)) {
        std::fprintf(err, "tollgram-host: --texture: %s\n", error.c_str());
        return false;
    }
    if (options.sampleTextureWidth > 0) {
        const std::vector<uint8_t> pixels = sampleTexture(options.sampleTextureWidth, options.sampleTextureHeight);
        host.setTexture(options.sampleTextureWidth, options.sampleTextureHeight, 32, pixels.data());
    }
    if (!options.interfaceFile.empty() && !installInterfaceFile(host, options.interfaceFile, error)) {
        std::fprintf(err, "tollgram-host: --ui: %s\n", error.c_str());
        return false;
    }
    if (!options.interfaceText.empty() && !installInterfaceText(host, options.interfaceText, error)) {
        std::fprintf(err, "tollgram-host: %s\n", error.c_str());
        return false;
    }
    if (options.alphaName) host.setAlphaName(*options.alphaName);
    if (options.textureName) host.setTextureName(*options.textureName);
    return true;
}

}  // namespace

namespace {

// A line of the tool's own rather than a call: help, quit.
enum class ToolCommand { None, Help, Quit };

ToolCommand toolCommandOf(const std::string& line, std::string& word) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "quit" || first == "exit") return ToolCommand::Quit;
    if (first != "help") return ToolCommand::None;
    words >> word;
    return ToolCommand::Help;
}

// The end of input typed as a character: Ctrl-D or Ctrl-Z (then Enter) at
// the start of a line. A console that passes them on as characters (Wine's
// passes Ctrl-D) has no other way to end the prompt.
bool endsInput(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string::npos && (line[first] == '\x04' || line[first] == '\x1a');
}

void dropByteOrderMark(std::string& line) {
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
}

std::string pictureFile(const std::string& directory, const std::string& name) {
    return (fs::path(directory) / name).string();
}

}  // namespace

int runSession(const SessionOptions& options, std::istream& script, std::FILE* out, std::FILE* err) {
    PluginLibrary library;
    std::string error;
    if (!library.open(options.library, error)) {
        std::fprintf(err, "tollgram-host: %s\n", error.c_str());
        return 2;
    }
    substitute::SubstituteHost host;
    SceneMesh mesh;
    if (!setUpScene(options, host, mesh, err)) return 2;
    if (!options.outDirectory.empty()) {
        std::error_code failure;
        fs::create_directories(options.outDirectory, failure);
        if (failure || !fs::is_directory(options.outDirectory)) {
            std::fprintf(err, "tollgram-host: cannot make the folder %s for the pictures\n", options.outDirectory.c_str());
            return 2;
        }
    }

    const HostSnapshot before = takeSnapshot(host);
    CallRunner runner(library, host.context(), out);
    std::vector<std::string> thumbnails;
    int exitCode = 0;
    std::string line;
    for (int number = 1;; ++number) {
        if (options.prompt) {
            std::fprintf(out, "tollgram> ");
            std::fflush(out);
        }
        if (!std::getline(script, line)) break;
        if (number == 1) dropByteOrderMark(line);
        if (endsInput(line)) break;
        std::string word;
        const ToolCommand command = toolCommandOf(line, word);
        if (command == ToolCommand::Quit) break;
        if (command == ToolCommand::Help) {
            std::fputs(helpText(word).c_str(), out);
            std::fflush(out);
            continue;
        }
        const ParsedLine parsed = parseScriptLine(line);
        std::string problem = parsed.error;
        if (problem.empty() && parsed.isCall) {
            const CallOutcome outcome = runner.run(parsed.call);
            if (!outcome.ran) {
                problem = knownExports().count(parsed.call.exportName)
                              ? "the library has no export " + parsed.call.exportName
                              : parsed.call.exportName + " is not an export of Tollgram (help lists them)";
            } else if (parsed.call.exportName == "SaveTextureThumbnail" && outcome.result == 0.0f && parsed.call.text) {
                thumbnails.push_back(*parsed.call.text);
            }
        }
        // What the library printed during the call came first; the call's
        // line follows it before anything else.
        std::fflush(out);
        if (!problem.empty()) {
            std::fprintf(err, "line %d: %s\n", number, problem.c_str());
            exitCode = 1;
            if (!options.keepGoing && !options.prompt) break;
        }
    }
    if (options.prompt) std::fputc('\n', out);

    const HostSnapshot after = takeSnapshot(host);
    std::fprintf(out, "\n");
    reportChanges(before, after, out);
    if (!options.outDirectory.empty()) {
        std::fprintf(out, "\nPictures in %s:\n", options.outDirectory.c_str());
        if (!mesh.positions.empty()) {
            if (drawMeshPicture(mesh, after, pictureFile(options.outDirectory, "mesh.png"), error)) {
                std::fprintf(out, "  mesh.png: the mesh with its mask and creases, from three sides\n");
            } else {
                std::fprintf(err, "tollgram-host: %s\n", error.c_str());
            }
        }
        for (const std::string& psd : thumbnails) {
            const std::string png = fs::path(psd).filename().string() + ".png";
            if (writePsdPreview(psd, pictureFile(options.outDirectory, png), error)) {
                std::fprintf(out, "  %s: preview of %s\n", png.c_str(), psd.c_str());
            } else {
                std::fprintf(err, "tollgram-host: %s\n", error.c_str());
            }
        }
    }
    std::fflush(out);
    return exitCode;
}

int printVersion(const std::string& libraryFile, std::FILE* out, std::FILE* err) {
    std::fprintf(out, "tollgram-host %s\n", TOLLGRAM_VERSION_TEXT);
    PluginLibrary library;
    std::string error;
    if (!library.open(libraryFile, error)) {
        std::fprintf(err, "tollgram-host: %s\n", error.c_str());
        return 2;
    }
    const ExportFunction version = library.find("Version");
    if (version == nullptr) {
        std::fprintf(err, "tollgram-host: %s has no export Version\n", libraryFile.c_str());
        return 2;
    }
    std::fprintf(out, "%s: Version -> %s\n", libraryFile.c_str(),
                 CallRunner::resultText(version(nullptr, 0.0, nullptr, 0, 0, 0, nullptr)).c_str());
    return 0;
}

int runDemo(const std::string& library, const std::string& outDirectory, std::FILE* out, std::FILE* err) {
    std::error_code failure;
    fs::create_directories(outDirectory, failure);
    std::string error;
    if (failure || !writeSampleModel(outDirectory, error)) {
        std::fprintf(err, "tollgram-host: cannot make the sample in %s\n", outDirectory.c_str());
        return 2;
    }
    SessionOptions options;
    options.library = library;
    options.meshFile = (fs::path(outDirectory) / "sample.obj").string();
    options.interfaceText = sampleInterface();
    options.alphaName = "demo alpha";
    options.textureName = "panel texture";
    options.sampleTextureWidth = 512;
    options.sampleTextureHeight = 384;
    options.outDirectory = outDirectory;
    options.keepGoing = true;
    std::fprintf(out, "Tollgram demo: the sample panel is in %s\n\n", outDirectory.c_str());
    std::istringstream script(demoScript(outDirectory));
    return runSession(options, script, out, err);
}

}  // namespace tollgram::host_tool
