// The OBJ reader on fuzzer-chosen files, with a material library: nothing may
// crash, hang, leak or break the model's invariants; the parallel read, with
// a fuzzer-chosen cut, must make the one-thread read's model, diagnostics and
// log lines.
//
// Input: an OBJ file, then optionally the separator line below and an MTL
// file. The OBJ part is written to model.obj and the MTL part to lib.mtl in a
// private directory, so "mtllib lib.mtl" lines reach a real library. The
// input's last two bytes also choose the parallel read's threads (2 to 4)
// and chunk size (1 to 512 bytes).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "obj/model/obj_model.h"
#include "obj/read/read_plan.h"
#include "obj/same_models.h"

namespace {

constexpr std::string_view kSeparator = "\n@@MTL@@\n";

struct Files {
    std::filesystem::path directory;
    std::string obj;
    std::string mtl;
};

const Files& files() {
    static const Files f = [] {
        Files made;
        made.directory = std::filesystem::temp_directory_path() / ("tollgram-obj-fuzz-" + std::to_string(std::rand()) +
                                                                   "-" + std::to_string(reinterpret_cast<uintptr_t>(&made)));
        std::filesystem::create_directories(made.directory);
        // The scratch folder goes when the run ends.
        static std::filesystem::path scratch;
        scratch = made.directory;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratch, ignored);
        });
        made.obj = (made.directory / "model.obj").string();
        made.mtl = (made.directory / "lib.mtl").string();
        return made;
    }();
    return f;
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
}

void check(bool condition) {
    if (!condition) std::abort();
}

constexpr const char* kLogName = "error_objmodel_read.txt";

// What the reads since the last call appended to the log file.
std::string takeLog() {
    std::string log;
    if (std::FILE* file = std::fopen(kLogName, "rb")) {
        char block[4096];
        size_t got;
        while ((got = std::fread(block, 1, sizeof block, file)) > 0) log.append(block, got);
        std::fclose(file);
        std::remove(kLogName);
    }
    return log;
}

// The OBJ text with every "v" and "f" keyword raised to upper case: keywords
// match in any case, so it must read into the same model.
std::string raisedKeywords(std::string_view text) {
    std::string raised(text);
    bool lineStart = true;
    for (char& c : raised) {
        if (lineStart && (c == 'v' || c == 'f')) c = char(c - 'a' + 'A');
        lineStart = c == '\n' || c == '\r';
    }
    return raised;
}

}  // namespace

// The reader's smoothing-group log goes to the current directory, so the
// fuzzer runs in its private one; corpus directories and the place for crash
// files given relative to the starting directory are made absolute first.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    const std::filesystem::path start = std::filesystem::current_path();
    bool artifactPrefix = false;
    for (int i = 0; i < *argc; ++i) {
        std::string argument = (*argv)[i];
        if (argument.rfind("-artifact_prefix=", 0) == 0) artifactPrefix = true;
        if (i > 0 && argument[0] != '-' && std::filesystem::exists(argument)) {
            argument = std::filesystem::absolute(argument).string();
        }
        arguments.push_back(argument);
    }
    if (!artifactPrefix) arguments.push_back("-artifact_prefix=" + start.string() + "/");
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    *argc = int(arguments.size());
    *argv = pointers.data();
    std::filesystem::current_path(files().directory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find(kSeparator);
    const Files& f = files();
    writeFile(f.obj, input.substr(0, split));
    if (split == std::string_view::npos) {
        std::remove(f.mtl.c_str());
    } else {
        writeFile(f.mtl, input.substr(split + kSeparator.size()));
    }

    (void)takeLog();
    tollgram::obj::OBJModel model;
    const bool ok = model.readOBJ(f.obj);
    const std::string log = takeLog();
    using tollgram::obj::FaceValue;
    for (uint32_t i = 0; i < model._faces._count; ++i) {
        const FaceValue face = faceValueAt(model, i);
        check(face._cornerCount <= tollgram::obj::kMaxFaceCorners);
        for (uint32_t c = 0; c < face._cornerCount; ++c) {
            check(uint32_t(face._vertexIndices[c]) < model._vertices._count);
            if (face._hasTexture) check(uint32_t(face._textureIndices[c]) < model._textureCoords._count);
            if (face._hasNormal) check(uint32_t(face._normalIndices[c]) < model._normals._count);
            for (uint32_t d = 0; d < c; ++d) check(face._vertexIndices[d] != face._vertexIndices[c]);
        }
        check(face._materialIndex >= -1 && face._materialIndex < int32_t(model._materials.size()));
    }
    check(model._materialFaces.size() == model._materials.size());
    check(model._groupNames.size() == model._groupFaces.size());
    for (const std::string& name : model._groupNames) {
        const auto& list = model._groupFaces.at(name);
        check(!list.empty() || !ok);
        for (size_t i = 1; i < list.size(); ++i) check(list[i - 1] <= list[i]);
    }
    check(model._smoothingGroupCount <= tollgram::obj::kMaxSmoothingGroups);
    check(ok || !model._errorText.empty());

    writeFile(f.obj, raisedKeywords(input.substr(0, split)));
    tollgram::obj::OBJModel general;
    check(general.readOBJ(f.obj) == ok);
    check(tollgram::obj::test::modelDifference(general, model).empty());
    (void)takeLog();

    const uint8_t last = size > 0 ? data[size - 1] : 0;
    const uint8_t beforeLast = size > 1 ? data[size - 2] : 0;
    const tollgram::obj::ForcedReading cut{2u + last % 3u, 1u + (size_t(beforeLast) << 1 | last >> 7) % 512u};
    tollgram::obj::forceReading(&cut);
    tollgram::obj::OBJModel parallel;
    const bool parallelOk = parallel.readOBJ(f.obj);
    tollgram::obj::forceReading(nullptr);
    check(parallelOk == ok);
    check(tollgram::obj::test::modelDifference(parallel, model).empty());
    check(takeLog() == log);
    return 0;
}
