// Real OBJ files written by others: every one loads without a crash, and
// where a file stays inside the grammar this reader accepts, its counts match
// those of an independent loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "obj/obj_model.h"

#if defined(TOLLGRAM_PEER_LOADER)
#include <tiny_obj_loader.h>
#endif

namespace tollgram::obj {
namespace {

std::vector<std::filesystem::path> corpusObjFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TOLLGRAM_CORPUS_DIR)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.size() > 4 && name.compare(name.size() - 4, 4, ".obj") == 0) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Corpus, EveryFileLoadsWithoutACrash) {
    const auto files = corpusObjFiles();
    ASSERT_GE(files.size(), 100u) << "corpus not found under " << TOLLGRAM_CORPUS_DIR;
    size_t read = 0;
    for (const auto& file : files) {
        OBJModel model;
        if (model.readOBJ(file.generic_string())) ++read;
        // Whatever the outcome, the model keeps its own invariants.
        for (uint32_t i = 0; i < model._faces._count; ++i) {
            const OBJFace face = model._faces.at(i);
            ASSERT_LE(face._cornerCount, kMaxFaceCorners) << file;
            for (uint32_t c = 0; c < face._cornerCount; ++c) {
                ASSERT_LT(uint32_t(face._vertexIndices[c]), model._vertices._count) << file;
            }
        }
        ASSERT_EQ(model._materialFaces.size(), model._materials.size()) << file;
        ASSERT_EQ(model._groupNames.size(), model._groupFaces.size()) << file;
    }
    EXPECT_GT(read, files.size() / 2);
}

#if defined(TOLLGRAM_PEER_LOADER)

struct Counts {
    size_t vertices = 0, normals = 0, textureCoords = 0, faces = 0;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.vertices << " v, " << c.normals << " vn, " << c.textureCoords << " vt, " << c.faces << " f";
}

// Lines whose kinds the two readers take differently: every "v" keyword
// (vp, vw, ...) is a position here, and a face of fewer than three distinct
// corners is a face here but not there.
bool readersDiffer(const std::filesystem::path& file, const OBJModel& model) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 2 || (line[0] != 'v' && line[0] != 'V')) continue;
        const char second = char(line[1] | 0x20);
        if (line[1] != ' ' && line[1] != '\t' && second != 'n' && second != 't') return true;
    }
    for (uint32_t i = 0; i < model._faces._count; ++i) {
        if (model._faces.at(i)._cornerCount < 3) return true;
    }
    return false;
}

TEST(Corpus, CountsMatchAnIndependentLoader) {
    size_t compared = 0;
    for (const auto& file : corpusObjFiles()) {
        OBJModel model;
        // Only files read without any diagnostic stay inside the accepted grammar.
        if (!model.readOBJ(file.generic_string()) || !model._errorText.empty()) continue;
        if (readersDiffer(file, model)) continue;
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warn, err;
        const std::string directory = file.parent_path().generic_string() + "/";
        if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, file.generic_string().c_str(),
                              directory.c_str(), false)) {
            continue;
        }
        Counts peer{attrib.vertices.size() / 3, attrib.normals.size() / 3, attrib.texcoords.size() / 2, 0};
        for (const auto& shape : shapes) peer.faces += shape.mesh.num_face_vertices.size();
        const Counts ours{model._vertices._count, model._normals._count, model._textureCoords._count, model._faces._count};
        EXPECT_EQ(ours, peer) << file;
        ++compared;
    }
    EXPECT_GE(compared, 40u);
    std::cout << "compared " << compared << " corpus files with tinyobjloader\n";
}

#endif

}  // namespace
}  // namespace tollgram::obj
