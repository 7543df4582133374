#include "host_tool/session.h"

#include <filesystem>
#include <set>
#include <sstream>
#include <vector>

#include "host_tool/call_runner.h"
#include "host_tool/demo.h"
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
        fs::current_path(options.outDirectory, failure);
        if (failure) {
            std::fprintf(err, "tollgram-host: cannot work in %s: %s\n", options.outDirectory.c_str(),
                         failure.message().c_str());
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
        const ParsedLine parsed = parseScriptLine(line);
        std::string problem = parsed.error;
        if (problem.empty() && parsed.isCall) {
            const CallOutcome outcome = runner.run(parsed.call);
            if (!outcome.ran) {
                problem = knownExports().count(parsed.call.exportName)
                              ? "the library has no export " + parsed.call.exportName
                              : parsed.call.exportName + " is not an export of Tollgram";
            } else if (parsed.call.exportName == "SaveTextureThumbnail" && outcome.result == 0.0f && parsed.call.text) {
                thumbnails.push_back(*parsed.call.text);
            }
        }
        if (!problem.empty()) {
            std::fprintf(err, "line %d: %s\n", number, problem.c_str());
            exitCode = 1;
            if (!options.keepGoing && !options.prompt) break;
        }
    }
    std::fflush(out);

    const HostSnapshot after = takeSnapshot(host);
    std::fprintf(out, "\n");
    reportChanges(before, after, out);
    if (!options.outDirectory.empty()) {
        std::fprintf(out, "\nPictures in %s:\n", options.outDirectory.c_str());
        if (!mesh.positions.empty()) {
            if (drawMeshPicture(mesh, after, "mesh.png", error)) std::fprintf(out, "  mesh.png: the mesh with its mask and creases\n");
            else std::fprintf(err, "tollgram-host: %s\n", error.c_str());
        }
        for (const std::string& psd : thumbnails) {
            const std::string png = psd + ".png";
            if (writePsdPreview(psd, png, error)) std::fprintf(out, "  %s: preview of %s\n", png.c_str(), psd.c_str());
            else std::fprintf(err, "tollgram-host: %s\n", error.c_str());
        }
    }
    return exitCode;
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
    std::istringstream script(demoScript());
    return runSession(options, script, out, err);
}

}  // namespace tollgram::host_tool
