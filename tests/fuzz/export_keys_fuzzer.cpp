// Every export that only reads keys and numbers, called with fuzzer-chosen
// text, value and buffer size on a small host scene with a model loaded:
// nothing may crash, hang, or write outside the caller's buffer.
//
// Input: byte 0 picks the export, bytes 1-8 are the value's bits, byte 9
// the buffer size (255: a negative size, 254: no buffer), the rest the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "substitute_host/substitute_host.h"
#include "tollgram.h"

namespace {

using ExportFunction = TollgramExportFunction;

struct Export {
    const char* name;
    ExportFunction function;
};

const Export kExports[] = {
#define TOLLGRAM_EXPORT(name, failure) {#name, &::name},
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
};

// Exports that touch the file system, start programs or show the dialog
// take paths, not keys: fuzzing them would write and delete files.
bool takesOnlyKeys(const std::string& name) {
    static const char* const excluded[] = {
        "LoadOBJFile", "ReplaceOBJVertices", "ExportOBJGroup", "ExportOBJSmoothGroup", "GetFileList",
        "GetDirFileList", "FileDelete", "FileCopyFrom", "FileCopyTo", "DirCreate", "DirDelete", "SetAppLinkPath",
        "AppLinkOpenFile", "SaveTextureThumbnail", "SetDefaultDir", "SetDialogTitle", "FreeOBJModel"};
    for (const char* e : excluded) {
        if (name == e) return false;
    }
    return true;
}

ExportFunction find(const char* name) {
    for (const Export& e : kExports) {
        if (std::strcmp(e.name, name) == 0) return e.function;
    }
    return nullptr;
}

struct Scene {
    tollgram::substitute::SubstituteHost host;
    std::vector<const Export*> exports;

    Scene() {
        host.setMesh(9, 4);
        host.setGroupNames({"left", "right"});
        std::vector<uint8_t> pixels(16 * 8 * 4, 0x7F);
        host.setTexture(16, 8, 32, pixels.data());
        host.setTextureName("texture");
        host.setAlphaName("alpha");
        uint8_t* top = host.makeNode("Main Window");
        uint8_t* a = host.makeNode("Load Mesh");
        uint8_t* b = host.makeNode("Save Mesh");
        host.setControl(b, 1007, "Save Mesh Now", "Save");
        host.linkChildren(top, {a, b});
        host.setStartNode(a);
        // A 2 × 2 grid of quads in two groups and two smoothing groups.
        if (ExportFunction load = find("LoadOBJFile")) {
            const std::string file = (std::filesystem::temp_directory_path() / "tollgram-export-keys-fuzz.obj").string();
            const char* path = file.c_str();
            if (std::FILE* f = std::fopen(path, "w")) {
                std::fputs("v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\nv 0 2 0\nv 1 2 0\nv 2 2 0\n"
                           "g left\ns 1\nf 1 2 5 4\nf 4 5 8 7\ng right\ns 2\nf 2 3 6 5\nf 5 6 9 8\n", f);
                std::fclose(f);
                load(path, 0, nullptr, 0, 0, 0, nullptr);
            }
            std::remove(path);  // read whole: the model no longer needs it
        }
        for (const Export& e : kExports) {
            if (takesOnlyKeys(e.name)) exports.push_back(&e);
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scene scene;
    if (size < 10 || scene.exports.empty()) return 0;
    const Export& target = *scene.exports[data[0] % scene.exports.size()];
    double value;
    std::memcpy(&value, data + 1, sizeof value);
    const uint8_t sizeByte = data[9];
    const std::string text(reinterpret_cast<const char*>(data + 10), size - 10);

    constexpr size_t kGuard = 32;
    const size_t bytes = sizeByte >= 254 ? 0 : sizeByte;
    std::vector<char> storage(bytes + 2 * kGuard, '\x5A');
    char* buffer = sizeByte == 254 ? nullptr : storage.data() + kGuard;
    const int32_t bufferSize = sizeByte == 255 ? -7 : static_cast<int32_t>(bytes);
    // MoveButtonAfter reads its second text from the buffer.
    if (buffer != nullptr && bytes > 0) {
        std::memcpy(buffer, text.data(), std::min(bytes - 1, text.size()));
        buffer[std::min(bytes - 1, text.size())] = '\0';
    }
    target.function(text.c_str(), value, buffer, bufferSize, 0, 0, scene.host.context());
    for (size_t i = 0; i < kGuard; ++i) {
        if (storage[i] != '\x5A' || storage[kGuard + bytes + i] != '\x5A') {
            std::fprintf(stderr, "%s wrote outside its %zu-byte buffer\n", target.name, bytes);
            std::abort();
        }
    }
    return 0;
}
