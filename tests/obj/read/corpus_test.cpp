// Real OBJ files written by others: every one loads without a crash, and
// where a file stays inside the grammar this reader accepts, its counts match
// those of an independent loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "corpus_files.h"
#include "obj/model/obj_model.h"

#if defined(TOLLGRAM_PEER_LOADER)
#include <tiny_obj_loader.h>
#endif

namespace tollgram::obj {
namespace {

using test::corpusObjFiles;

TEST(Corpus, EveryFileLoadsWithoutACrash) {
    const auto files = corpusObjFiles();
    ASSERT_GE(files.size(), 100u) << "corpus not found under " << TOLLGRAM_CORPUS_DIR;
    size_t read = 0;
    for (const auto& file : files) {
        OBJModel model;
        if (model.readOBJ(file.generic_string())) ++read;
        // Whatever the outcome, the model keeps its own invariants.
        for (uint32_t i = 0; i < model._faces._count; ++i) {
            const FaceValue face = faceValueAt(model, i);
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
        if (faceValueAt(model, i)._cornerCount < 3) return true;
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

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The peer keeps every corner as written, so a face that names a vertex
// twice, or has more corners than this reader keeps, is read another way.
bool peerFacesReadAlike(const std::vector<tinyobj::shape_t>& shapes) {
    for (const auto& shape : shapes) {
        size_t first = 0;
        for (const unsigned corners : shape.mesh.num_face_vertices) {
            if (corners > kMaxFaceCorners) return false;
            for (size_t a = first; a < first + corners; ++a) {
                for (size_t b = a + 1; b < first + corners; ++b) {
                    if (shape.mesh.indices[a].vertex_index == shape.mesh.indices[b].vertex_index) return false;
                }
            }
            first += corners;
        }
    }
    return true;
}

// Beyond the counts: every position, texture coordinate and normal bit for
// bit, and every corner's indices, face by face in file order (the peer's
// shapes follow the file, so their faces taken one after another do too).
// Files the peer reads another way, each with the reason.
const char* const kPeerReadsOtherwise[] = {
    "tinyobjloader/test-nan.obj",  // the peer reads the words nan and -nan as 0
};

bool peerReadsOtherwise(const std::filesystem::path& file) {
    const std::string relative = std::filesystem::relative(file, TOLLGRAM_CORPUS_DIR).generic_string();
    return std::any_of(std::begin(kPeerReadsOtherwise), std::end(kPeerReadsOtherwise),
                       [&](const char* name) { return relative == name; });
}

void expectSameGeometry(const OBJModel& model, const tinyobj::attrib_t& attrib,
                        const std::vector<tinyobj::shape_t>& shapes);

TEST(Corpus, GeometryMatchesAnIndependentLoader) {
    size_t compared = 0;
    for (const auto& file : corpusObjFiles()) {
        if (peerReadsOtherwise(file)) continue;
        OBJModel model;
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
        if (!peerFacesReadAlike(shapes)) continue;
        SCOPED_TRACE(file.generic_string());
        expectSameGeometry(model, attrib, shapes);
        ++compared;
    }
    EXPECT_GE(compared, 40u);
    std::cout << "compared the geometry of " << compared << " corpus files with tinyobjloader\n";
}

// The first difference in a file ends that file's comparison.
void expectSameGeometry(const OBJModel& model, const tinyobj::attrib_t& attrib,
                        const std::vector<tinyobj::shape_t>& shapes) {
    ASSERT_EQ(attrib.vertices.size(), size_t(model._vertices._count) * 3);
    for (uint32_t i = 0; i < model._vertices._count; ++i) {
        const Vec4 v = vec4Of(model._vertices.at(i));
        const float* peer = &attrib.vertices[size_t(i) * 3];
        ASSERT_TRUE(sameBits(v.x, peer[0]) && sameBits(v.y, peer[1]) && sameBits(v.z, peer[2]))
            << "vertex " << i << ": " << v.x << " " << v.y << " " << v.z << " against " << peer[0] << " "
            << peer[1] << " " << peer[2];
    }
    ASSERT_EQ(attrib.normals.size(), size_t(model._normals._count) * 3);
    for (uint32_t i = 0; i < model._normals._count; ++i) {
        const Vec4 n = vec4Of(model._normals.at(i));
        const float* peer = &attrib.normals[size_t(i) * 3];
        ASSERT_TRUE(sameBits(n.x, peer[0]) && sameBits(n.y, peer[1]) && sameBits(n.z, peer[2])) << "normal " << i;
    }
    ASSERT_EQ(attrib.texcoords.size(), size_t(model._textureCoords._count) * 2);
    for (uint32_t i = 0; i < model._textureCoords._count; ++i) {
        const Vec4 t = vec4Of(model._textureCoords.at(i));
        const float* peer = &attrib.texcoords[size_t(i) * 2];
        ASSERT_TRUE(sameBits(t.x, peer[0]) && sameBits(t.y, peer[1])) << "texture coordinate " << i;
    }
    uint32_t face = 0;
    for (const auto& shape : shapes) {
        size_t corner = 0;
        for (const unsigned corners : shape.mesh.num_face_vertices) {
            ASSERT_LT(face, model._faces._count);
            const FaceValue ours = faceValueAt(model, face);
            ASSERT_EQ(ours._cornerCount, corners) << "face " << face;
            for (unsigned c = 0; c < corners; ++c, ++corner) {
                const tinyobj::index_t& peer = shape.mesh.indices[corner];
                ASSERT_EQ(ours._vertexIndices[c], peer.vertex_index) << "face " << face << " corner " << c;
                ASSERT_EQ(ours._hasTexture ? ours._textureIndices[c] : -1, peer.texcoord_index)
                    << "face " << face << " corner " << c;
                ASSERT_EQ(ours._hasNormal ? ours._normalIndices[c] : -1, peer.normal_index)
                    << "face " << face << " corner " << c;
            }
            ++face;
        }
    }
    EXPECT_EQ(face, model._faces._count);
}

#endif

}  // namespace
}  // namespace tollgram::obj
