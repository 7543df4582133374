#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "obj/failing_blocks.h"
#include "obj/index/edge_faces.h"
#include "obj/model/obj_model.h"
#include "obj/index/smoothing_faces.h"
#include "obj/index/vertex_faces.h"
#include "support/test_models.h"

namespace tollgram::obj {
namespace {

TEST(PagedArray, NewBlocksStartExactlyAtTheBlockSize) {
    struct Case {
        const char* name;
        uint32_t blockSize;
    };
    for (const Case& c : {Case{"vertices", kVertexBlockSize}, Case{"texture coordinates", kTextureCoordBlockSize}}) {
        SCOPED_TRACE(c.name);
        PagedArray<Vec3> array(c.blockSize);
        EXPECT_EQ(array._lastBlock, -1);
        for (uint32_t i = 0; i < c.blockSize; ++i) {
            ASSERT_TRUE(array.append(Vec3{float(i), 0, 0}));
        }
        EXPECT_EQ(array._blocks.size(), 1u);
        EXPECT_EQ(array._lastBlock, 0);
        ASSERT_TRUE(array.append(Vec3{-1, -2, -3}));
        EXPECT_EQ(array._blocks.size(), 2u);
        EXPECT_EQ(array._lastBlock, 1);
        EXPECT_EQ(array._count, c.blockSize + 1);
        EXPECT_EQ(array.find(c.blockSize), &array._blocks[1][0]);
        EXPECT_EQ(array.at(c.blockSize).y, -2.0f);
        EXPECT_EQ(array.at(c.blockSize - 1).x, float(c.blockSize - 1));
    }
}

TEST(PagedArray, StoredElementsNeverMove) {
    PagedArray<OBJFace> faces(kFaceBlockSize);
    OBJFace face;
    face._cornerCount = 3;
    ASSERT_TRUE(faces.append(face));
    const OBJFace* first = faces.find(0);
    for (int i = 0; i < 3 * int(kFaceBlockSize); ++i) ASSERT_TRUE(faces.append(face));
    EXPECT_EQ(faces.find(0), first);
    EXPECT_EQ(faces._blocks.size(), 4u);
}

TEST(PagedArray, IndicesBeyondTheCountGiveTheDefaultElement) {
    PagedArray<Vec3> vectors(kVertexBlockSize);
    ASSERT_TRUE(vectors.append(Vec3{5, 6, 7}));
    // The block has room beyond _count; what lies there is not an element.
    for (uint32_t index : {1u, 2u, 3999u, 4000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(index);
        const Vec4 v = vec4Of(vectors.at(index));
        EXPECT_EQ(v.x, 0.0f);
        EXPECT_EQ(v.y, 0.0f);
        EXPECT_EQ(v.z, 0.0f);
        EXPECT_EQ(v.w, 1.0f);
        EXPECT_EQ(vectors.find(index), nullptr);
    }

    PagedArray<OBJFace> faces(kFaceBlockSize);
    OBJFace stored;
    stored._cornerCount = 4;
    stored._hasTexture = 1;
    stored._hasNormal = 1;
    stored._smoothingGroup = 9;
    stored._materialIndex = 2;
    ASSERT_TRUE(faces.append(stored));
    const OBJFace empty = faces.at(1);
    EXPECT_EQ(empty._cornerCount, 0u);
    EXPECT_EQ(empty._hasTexture, 0);
    EXPECT_EQ(empty._hasNormal, 0);
    EXPECT_EQ(empty._smoothingGroup, 0u);
    EXPECT_EQ(empty._materialIndex, -1);
    EXPECT_EQ(faces.at(0)._materialIndex, 2);
}

TEST(PagedArray, AFailedBlockStoresNothing) {
    PagedArray<Vec3> array(2);
    {
        test::FailingBlocks failing(2);
        ASSERT_TRUE(array.append(Vec3{1, 1, 1}));
        ASSERT_TRUE(array.append(Vec3{2, 2, 2}));
        EXPECT_FALSE(array.append(Vec3{3, 3, 3}));
        EXPECT_EQ(failing.calls(), 2u);
    }
    EXPECT_EQ(array._count, 2u);
    EXPECT_EQ(array._lastBlock, 0);
    EXPECT_EQ(array._blocks.size(), 1u);
    ASSERT_TRUE(array.append(Vec3{3, 3, 3}));
    EXPECT_EQ(array.at(2).x, 3.0f);
}

TEST(PagedArray, ExchangingArraysMovesTheirBlocks) {
    PagedArray<Vec3> a(kVertexBlockSize);
    PagedArray<Vec3> b(kVertexBlockSize);
    ASSERT_TRUE(a.append(Vec3{1, 2, 3}));
    const Vec3* stored = a.find(0);
    std::swap(a, b);
    EXPECT_EQ(a._count, 0u);
    EXPECT_EQ(a._lastBlock, -1);
    EXPECT_EQ(b._count, 1u);
    EXPECT_EQ(b.find(0), stored);
}

// A face's corners are read through one pointer: a run that does not fit
// the rest of a block starts the next one, the rest left unused.
TEST(PagedArray, RunsNeverStraddleTwoBlocks) {
    PagedArray<int32_t> array(10);
    uint32_t first = 0;
    int32_t* run = array.appendRun(6, first);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(first, 0u);
    for (int32_t i = 0; i < 6; ++i) run[i] = i;
    run = array.appendRun(4, first);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(first, 6u) << "fits the block exactly";
    EXPECT_EQ(array._blocks.size(), 1u);
    run = array.appendRun(3, first);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(first, 10u);
    run = array.appendRun(8, first);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(first, 20u) << "the 7 left in the second block are skipped";
    EXPECT_EQ(run, array._blocks[2]);
    EXPECT_EQ(array._count, 28u);
    EXPECT_EQ(array.at(15), 0) << "skipped slots are zero";
    EXPECT_EQ(array.at(5), 5);

    test::FailingBlocks failing(1);
    EXPECT_EQ(array.appendRun(3, first), nullptr);
    EXPECT_EQ(array._count, 28u) << "a failed run changes nothing";
}

TEST(FaceIndexList, StartsSmallAndDoubles) {
    FaceIndexList list;
    EXPECT_EQ(list.capacity(), 0u);
    ASSERT_TRUE(list.appendRun(uint32_t(0), 1, 1));
    EXPECT_EQ(list.capacity(), kFaceIndexListFirstCapacity);
    for (int32_t i = 1; i < 1024; ++i) ASSERT_TRUE(list.appendRun(uint32_t(i), 1, 1));
    EXPECT_EQ(list.capacity(), 1024u);
    ASSERT_TRUE(list.appendRun(uint32_t(1024), 1, 1));
    EXPECT_EQ(list.capacity(), 2048u);
    EXPECT_EQ(list.size(), 1025u);
    int32_t expected = 0;
    for (int32_t entry : list) ASSERT_EQ(entry, expected++);

    // Full and unable to grow: the entry is refused, the others stay.
    test::FailingBlocks failing(1);
    for (int32_t i = 1025; i < 2048; ++i) ASSERT_TRUE(list.appendRun(uint32_t(i), 1, 1));
    EXPECT_FALSE(list.appendRun(uint32_t(2048), 1, 1));
    EXPECT_EQ(list.size(), 2048u);
    EXPECT_EQ(list[2047], 2047);
}

TEST(OBJModel, StartsEmptyWithTheBlockSizes) {
    OBJModel model;
    EXPECT_TRUE(model._errorText.empty());
    EXPECT_EQ(model._vertices._blockSize, 4000u);
    EXPECT_EQ(model._normals._blockSize, 4000u);
    EXPECT_EQ(model._textureCoords._blockSize, 8000u);
    EXPECT_EQ(model._faces._blockSize, 4000u);
    EXPECT_EQ(model._vertices._count + model._normals._count + model._textureCoords._count + model._faces._count, 0u);
    EXPECT_EQ(model._vertexFaces, nullptr);
    EXPECT_TRUE(model._materials.empty());
    EXPECT_TRUE(model._materialFaces.empty());
    EXPECT_TRUE(model._groupNames.empty());
    EXPECT_TRUE(model._groupFaces.empty());
    EXPECT_EQ(model._smoothingGroupCount, 0u);
}

TEST(OBJModel, FindsTheFirstMaterialOfAName) {
    OBJModel model;
    for (const char* name : {"red", "Blue", "red", ""}) {
        Material m;
        m._name = name;
        m._dissolve = 0.5;
        ASSERT_TRUE(model.addMaterial(m));
    }
    EXPECT_EQ(model._materialFaces.size(), 4u);
    EXPECT_EQ(model._materials[1]._dissolve, 0.5);
    struct Case {
        const char* name;
        int32_t index;
    };
    for (const Case& c : {Case{"red", 0}, Case{"Blue", 1}, Case{"blue", -1}, Case{"", 3}, Case{"red ", -1}}) {
        EXPECT_EQ(model.findMaterial(c.name), c.index) << '"' << c.name << '"';
    }
}

TEST(OBJModel, FacesAreListedWithTheirMaterialAndGroups) {
    OBJModel model;
    ASSERT_TRUE(model.addMaterial(Material{}));
    ASSERT_TRUE(model.addMaterial(Material{}));
    const int32_t materials[] = {1, -1, 1, 0};
    for (int32_t material : materials) {
        FaceValue face;
        face._materialIndex = material;
        ASSERT_TRUE(tollgram::test::listFace(model, face));
    }
    ASSERT_EQ(model._faces._count, 4u);
    EXPECT_EQ(std::vector<int32_t>(model._materialFaces[0].begin(), model._materialFaces[0].end()), (std::vector<int32_t>{3}));
    EXPECT_EQ(std::vector<int32_t>(model._materialFaces[1].begin(), model._materialFaces[1].end()), (std::vector<int32_t>{0, 2}));

    ASSERT_TRUE(tollgram::test::listInGroup(model, "zeta", 0));
    ASSERT_TRUE(tollgram::test::listInGroup(model, "alpha", 0));
    ASSERT_TRUE(tollgram::test::listInGroup(model, "zeta", 1));
    ASSERT_TRUE(tollgram::test::listInGroup(model, "zeta", 1));
    EXPECT_EQ(model._groupNames, (std::vector<std::string>{"zeta", "alpha"}));
    const FaceIndexList& zeta = model._groupFaces.at("zeta");
    EXPECT_EQ(std::vector<int32_t>(zeta.begin(), zeta.end()), (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(model._groupFaces.at("alpha").size(), 1u);
}

// Each face keeps the indices it has and no more, and reads back whole.
TEST(OBJModel, FacesReadBackAsTheyWereAdded) {
    OBJModel model;
    FaceValue plain;
    plain._cornerCount = 3;
    plain._vertexIndices[0] = 4;
    plain._vertexIndices[1] = 5;
    plain._vertexIndices[2] = 6;
    plain._smoothingGroup = 7;
    FaceValue full;
    full._cornerCount = 8;
    full._hasTexture = 1;
    full._hasNormal = 1;
    full._materialIndex = 3;  // no such material: listed nowhere
    for (int32_t c = 0; c < 8; ++c) {
        full._vertexIndices[c] = c;
        full._textureIndices[c] = 100 + c;
        full._normalIndices[c] = 200 + c;
    }
    FaceValue normalsOnly = plain;
    normalsOnly._hasNormal = 1;
    normalsOnly._normalIndices[2] = 9;
    for (int round = 0; round < 3000; ++round) {
        ASSERT_TRUE(model.addFace(plain));
        ASSERT_TRUE(model.addFace(full));
        ASSERT_TRUE(model.addFace(normalsOnly));
    }
    // A run's indices and no more (3 + 24 + 6 a round), and never a block's
    // rest of more than a run's length unused.
    EXPECT_GE(model._corners._count, 3000u * 33u);
    EXPECT_LT(model._corners._count, 3000u * 33u + (3000u * 33u / kCornerBlockSize + 1) * 24u);
    for (uint32_t i = 0; i < model._faces._count; ++i) {
        const FaceValue& expected = i % 3 == 0 ? plain : i % 3 == 1 ? full : normalsOnly;
        const FaceValue got = faceValueAt(model, i);
        ASSERT_EQ(got._cornerCount, expected._cornerCount) << i;
        ASSERT_EQ(got._hasTexture, expected._hasTexture) << i;
        ASSERT_EQ(got._hasNormal, expected._hasNormal) << i;
        ASSERT_EQ(got._smoothingGroup, expected._smoothingGroup) << i;
        ASSERT_EQ(got._materialIndex, expected._materialIndex) << i;
        for (uint32_t c = 0; c < got._cornerCount; ++c) {
            ASSERT_EQ(got._vertexIndices[c], expected._vertexIndices[c]) << i;
            if (got._hasTexture) {
                ASSERT_EQ(got._textureIndices[c], expected._textureIndices[c]) << i;
            }
            if (got._hasNormal) {
                ASSERT_EQ(got._normalIndices[c], expected._normalIndices[c]) << i;
            }
        }
    }
    const FaceValue beyond = faceValueAt(model, model._faces._count);
    EXPECT_EQ(beyond._cornerCount, 0u);
    EXPECT_EQ(beyond._materialIndex, -1);
    const FaceCorners corners = cornersOf(model, *model._faces.find(2));
    EXPECT_EQ(corners.textures, nullptr);
    ASSERT_NE(corners.normals, nullptr);
    EXPECT_EQ(corners.normals[2], 9);
}

// Texture or normal indices that repeat the vertex indices are not stored
// again, and still read back.
TEST(OBJModel, IndicesRepeatingTheVerticesAreStoredOnce) {
    OBJModel model;
    FaceValue same;
    same._cornerCount = 4;
    same._hasTexture = 1;
    same._hasNormal = 1;
    for (int32_t c = 0; c < 4; ++c) same._vertexIndices[c] = same._textureIndices[c] = same._normalIndices[c] = 10 + c;
    FaceValue oneDiffers = same;
    oneDiffers._normalIndices[3] = 0;
    ASSERT_TRUE(model.addFace(same));
    EXPECT_EQ(model._corners._count, 4u);
    ASSERT_TRUE(model.addFace(oneDiffers));
    EXPECT_EQ(model._corners._count, 12u) << "the normals stored, the texture indices not";
    for (uint32_t i = 0; i < 2; ++i) {
        const FaceValue got = faceValueAt(model, i);
        const FaceValue& expected = i == 0 ? same : oneDiffers;
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(got._textureIndices[c], expected._textureIndices[c]) << i;
            EXPECT_EQ(got._normalIndices[c], expected._normalIndices[c]) << i;
        }
    }
}

TEST(OBJModel, DestructionReleasesTheIndexes) {
    // LeakSanitizer reports what is left behind.
    tollgram::test::ModelBuilder builder(4);
    builder.face({0, 1, 2}, {"g"}, 3).face({2, 1, 3}, {"g"}, 3);
    ASSERT_TRUE(buildVertexFaces(builder.model()));
    ASSERT_TRUE(buildEdgeFaces(builder.model()));
    ASSERT_TRUE(buildSmoothingFaces(builder.model()));
    builder.model().releaseVertexFaces();
    EXPECT_EQ(builder.model()._vertexFaces, nullptr);
    builder.model().releaseVertexFaces();
    ASSERT_TRUE(buildVertexFaces(builder.model()));
}

}  // namespace
}  // namespace tollgram::obj
