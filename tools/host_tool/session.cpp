#include "host_tool/session.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "host_tool/call_hints.h"
#include "host_tool/call_runner.h"
#include "host_tool/demo.h"
#include "host_tool/guide_help.h"
#include "host_tool/hints.h"
#include "host_tool/host_report.h"
#include "host_tool/input_files.h"
#include "host_tool/line_source.h"
#include "host_tool/pictures.h"
#include "host_tool/shaping_calls.h"
#include "host_tool/plugin_library.h"
#include "host_tool/scene.h"
#include "host_tool/script.h"
#include "substitute_host/substitute_host.h"

namespace tollgram::host_tool {

namespace fs = std::filesystem;

namespace {

bool setUpScene(const SessionOptions& options, substitute::SubstituteHost& host, SceneMesh& mesh, std::FILE* err) {
    std::string error;
    if (!options.meshFile.empty()) {
        if (!readSceneMesh(options.meshFile, mesh, error)) {
            std::fprintf(err, "tollgram-host: --mesh: %s\n", error.c_str());
            return false;
        }
        // A picture or another file given by mistake would make a mesh of
        // stray bytes, and every mesh call would then give -3.
        const bool binary = holdsBinaryData(options.meshFile);
        if (binary || mesh.positions.empty()) {
            std::fprintf(err, "tollgram-host: --mesh: %s %s; --mesh takes the OBJ file of the host's mesh\n",
                         options.meshFile.c_str(),
                         binary ? "is not an OBJ file (it holds binary data)" : "has no vertices (\"v\" lines)");
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
    // A NUL byte is the script reader's to name.
    if (line.find('\0') != std::string::npos) return ToolCommand::None;
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
    StreamLines lines(script, options.prompt, out);
    return runSession(options, lines, out, err);
}

namespace {

bool isExport(const std::string& name) {
    const std::vector<std::string>& names = exportNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A key that sends an escape sequence (an arrow, Home, a function key)
// where nothing edits the line.
bool holdsEscapeSequence(const std::string& line) { return line.find('\x1b') != std::string::npos; }

// Previews of the thumbnails a run writes, each made right after its call:
// a later call may write the same file again.
class ThumbnailPreviews {
public:
    explicit ThumbnailPreviews(const std::string& directory) : directory_(directory) {}

    void afterCall(const ScriptCall& call, float result, std::FILE* err) {
        if (directory_.empty() || call.exportName != "SaveTextureThumbnail" || result != 0.0f || !call.text) return;
        const std::string png = nameFor(*call.text);
        std::string error;
        if (writePsdPreview(*call.text, pictureFile(directory_, png), error)) {
            made_.emplace_back(png, *call.text);
        } else {
            std::fprintf(err, "tollgram-host: %s\n", error.c_str());
        }
    }

    void list(std::FILE* out) const {
        for (const auto& [png, psd] : made_) std::fprintf(out, "  %s: preview of %s\n", png.c_str(), psd.c_str());
    }

private:
    // The document's file name and ".png"; a document of the same name
    // written again gets ".2.png", ".3.png" and so on.
    std::string nameFor(const std::string& psd) {
        const std::string name = fs::path(psd).filename().string();
        const int count = ++written_[name];
        std::string preview = name;
        if (count > 1) preview.append(".").append(std::to_string(count));
        return preview.append(".png");
    }

    std::string directory_;
    std::vector<std::pair<std::string, std::string>> made_;  // preview, document
    std::map<std::string, int> written_;
};

}  // namespace

int runSession(const SessionOptions& options, LineSource& lines, std::FILE* out, std::FILE* err) {
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
    if (options.prompt) {
        std::fprintf(out, "tollgram-host %s with %s (help lists the exports, quit ends)\n", TOLLGRAM_VERSION_TEXT,
                     options.library.c_str());
    }
    const SceneParts scene{!options.meshFile.empty(), !options.textureFile.empty() || options.textureName ||
                                                          options.sampleTextureWidth > 0,
                           options.alphaName.has_value()};
    const std::string where = options.scriptName.empty() ? "line " : options.scriptName + ":";

    const HostSnapshot before = takeSnapshot(host);
    CallRunner runner(library, host.context(), out);
    ShapingCalls shaping(library, host.context());
    ThumbnailPreviews previews(options.outDirectory);
    CallHints hints(library, host.context(), scene, mesh.positions.size() / 3,
                    options.scriptName.empty() ? fs::path() : fs::path(options.scriptName).parent_path());
    int exitCode = 0;
    std::string line;
    for (int number = 1; lines.next(line); ++number) {
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
        const bool escaped = holdsEscapeSequence(line);
        const ParsedLine parsed = escaped ? ParsedLine{} : parseScriptLine(line);
        std::string problem = parsed.error;
        if (escaped) {
            problem = "the line holds an escape sequence (an arrow or another editing key), not run; type it again";
        } else if (problem.empty() && parsed.isCall) {
            const CallOutcome outcome = runner.run(parsed.call);
            if (!outcome.refused.empty()) {
                problem = outcome.refused;
            } else if (!outcome.ran) {
                problem = isExport(parsed.call.exportName) ? "the library has no export " + parsed.call.exportName
                                                           : notAnExport(parsed.call.exportName) + " (help lists them)";
            } else {
                const std::string hint = hints.after(parsed.call, outcome.result, number);
                if (!hint.empty()) std::fprintf(out, "  hint: %s\n", hint.c_str());
                shaping.note(parsed.call, outcome.result);
                previews.afterCall(parsed.call, outcome.result, err);
            }
        }
        // What the library printed during the call came first; the call's
        // line follows it before anything else.
        std::fflush(out);
        if (!problem.empty()) {
            std::fprintf(err, "%s%d: %s\n", where.c_str(), number, problem.c_str());
            std::fflush(err);
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
            if (drawMeshPicture(mesh, after, shaping.groups(), pictureFile(options.outDirectory, "mesh.png"), error)) {
                std::fprintf(out, "  mesh.png: the mesh with its mask and creases, from three sides\n");
            } else {
                std::fprintf(err, "tollgram-host: %s\n", error.c_str());
            }
        }
        previews.list(out);
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
