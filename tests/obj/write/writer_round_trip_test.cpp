#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "obj/built_models.h"
#include "obj/model_queries.h"
#include "obj/write/obj_writer.h"

#if defined(TOLLGRAM_PEER_LOADER)
#include <tiny_obj_loader.h>
#endif

namespace tollgram::obj {
namespace {

// Faces in several groups, corners of every form, materials that mtllib-less
// files can't carry (so only faces, groups and arrays are compared).
const char* const kSource =
    "v 1 2 3\nv -0.5 0.25 1e-5\nv 100 200 300\nv 0.1 0.2 0.3\nv 1e7 -2e-7 7\n"
    "vt 0.5 0.5\nvt 1 0\nvt 0 1 0.5\n"
    "vn 0 0 1\nvn 1 0 0\n"
    "g front\nf 1 2 3\nf 1/1/1 2/2/1 4/3/2\n"
    "g back\nf 3//1 4//2 5//1\nf 2/1 3/2 4/3 5/1\n"
    "g front\nf 5 4 3 2 1\n";

std::vector<std::filesystem::path> corpusFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(TOLLGRAM_CORPUS_DIR, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->path().extension() == ".obj" && it->file_size(error) < (256u << 10)) files.push_back(it->path());
    }
    return files;
}

void expectSameArrays(const PagedArray<Vec3>& a, const PagedArray<Vec3>& b, const char* what) {
    ASSERT_EQ(a._count, b._count) << what;
    for (uint32_t i = 0; i < a._count; ++i) {
        const Vec3 x = a.at(i);
        const Vec3 y = b.at(i);
        // Six significant digits are what the file keeps.
        for (auto [p, q] : {std::pair{x.x, y.x}, std::pair{x.y, y.y}, std::pair{x.z, y.z}}) {
            if (p == q) continue;  // infinities too
            if (std::isnan(p)) {
                ASSERT_TRUE(std::isnan(q)) << what << " " << i;
                continue;
            }
            ASSERT_LE(std::fabs(p - q), 5.2e-6f * std::fabs(p) + 1e-30f) << what << " " << i;
        }
    }
}

void expectSameFaces(const OBJModel& a, const OBJModel& b) {
    ASSERT_EQ(a._faces._count, b._faces._count);
    for (uint32_t i = 0; i < a._faces._count; ++i) {
        const FaceValue x = faceValueAt(a, i);
        const FaceValue y = faceValueAt(b, i);
        ASSERT_EQ(x._cornerCount, y._cornerCount) << "face " << i;
        ASSERT_EQ(x._hasTexture, y._hasTexture) << "face " << i;
        ASSERT_EQ(x._hasNormal, y._hasNormal) << "face " << i;
        for (uint32_t c = 0; c < x._cornerCount; ++c) {
            ASSERT_EQ(x._vertexIndices[c], y._vertexIndices[c]) << "face " << i;
            if (x._hasTexture) {
                ASSERT_EQ(x._textureIndices[c], y._textureIndices[c]) << "face " << i;
            }
            if (x._hasNormal) {
                ASSERT_EQ(x._normalIndices[c], y._normalIndices[c]) << "face " << i;
            }
        }
        // The file names one group per face: the first-created of its groups.
        ASSERT_EQ(groupNameOfFace(a, int32_t(i)), groupNameOfFace(b, int32_t(i))) << "face " << i;
    }
}

// Read, write whole, read again: the same model; and writing that again
// gives the same bytes, since six digits read and rewritten stay the same.
// Materials need their library, which a written file does not name, so the
// bytes are compared only for models without materials.
void expectRoundTrip(const std::string& source, const test::TempFolder& folder) {
    OBJModel first;
    if (!first.readOBJ(source) || !first._errorText.empty()) return;
    const std::string once = folder.at("once.obj");
    const std::string twice = folder.at("twice.obj");
    ASSERT_EQ(writeWholeModel(first, once.c_str()), ModelWrite::Written) << source;
    OBJModel second;
    ASSERT_TRUE(second.readOBJ(once)) << source << ": " << second._errorText;
    SCOPED_TRACE(source);
    expectSameArrays(first._vertices, second._vertices, "vertex");
    expectSameArrays(first._textureCoords, second._textureCoords, "texture coordinate");
    expectSameArrays(first._normals, second._normals, "normal");
    expectSameFaces(first, second);
    ASSERT_EQ(writeWholeModel(second, twice.c_str()), ModelWrite::Written);
    if (first._materials.empty()) {
        EXPECT_EQ(test::contentOf(once), test::contentOf(twice));
    }
}

TEST(WriterRoundTrip, AWrittenModelReadsBackTheSame) {
    test::TempFolder folder;
    const std::string source = folder.at("source.obj");
    std::ofstream(source, std::ios::binary) << kSource;
    OBJModel model;
    ASSERT_TRUE(model.readOBJ(source)) << model._errorText;
    ASSERT_EQ(model._faces._count, 5u);
    expectRoundTrip(source, folder);
}

TEST(WriterRoundTrip, CorpusFilesReadBackTheSame) {
    test::TempFolder folder;
    const auto files = corpusFiles();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) expectRoundTrip(file.generic_string(), folder);
}

#if defined(TOLLGRAM_PEER_LOADER)
struct PeerCounts {
    size_t vertices, textureCoords, normals, faces;
};

bool peerLoad(const std::string& file, PeerCounts& counts) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    const std::string directory = std::filesystem::path(file).parent_path().generic_string() + "/";
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, file.c_str(), directory.c_str(), false)) {
        return false;
    }
    counts = PeerCounts{attrib.vertices.size() / 3, attrib.texcoords.size() / 2, attrib.normals.size() / 3, 0};
    for (const auto& shape : shapes) counts.faces += shape.mesh.num_face_vertices.size();
    return true;
}

// What the writer makes loads in an independent reader with our model's
// counts. That reader drops faces of fewer than three corners, so only the
// others are counted.
TEST(WriterPeerLoader, WrittenFilesHaveTheSameCounts) {
    test::TempFolder folder;
    std::vector<std::string> sources = {folder.at("source.obj")};
    std::ofstream(sources[0], std::ios::binary) << kSource;
    for (const auto& file : corpusFiles()) sources.push_back(file.generic_string());
    size_t compared = 0;
    for (const std::string& source : sources) {
        OBJModel model;
        if (!model.readOBJ(source) || !model._errorText.empty()) continue;
        size_t polygons = 0;
        for (uint32_t i = 0; i < model._faces._count; ++i) polygons += faceValueAt(model, i)._cornerCount >= 3;
        const std::string written = folder.at("written.obj");
        ASSERT_EQ(writeWholeModel(model, written.c_str()), ModelWrite::Written) << source;
        PeerCounts peer{};
        ASSERT_TRUE(peerLoad(written, peer)) << source;
        EXPECT_EQ(peer.vertices, model._vertices._count) << source;
        EXPECT_EQ(peer.textureCoords, model._textureCoords._count) << source;
        EXPECT_EQ(peer.normals, model._normals._count) << source;
        EXPECT_EQ(peer.faces, polygons) << source;
        ++compared;
    }
    EXPECT_GE(compared, 10u);
}
#endif

}  // namespace
}  // namespace tollgram::obj
