#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "failing_blocks.h"
#include "obj/obj_model.h"
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
        PagedArray<Vec4> array(c.blockSize);
        EXPECT_EQ(array._lastBlock, -1);
        for (uint32_t i = 0; i < c.blockSize; ++i) {
            ASSERT_TRUE(array.append(Vec4{float(i), 0, 0, 1}));
        }
        EXPECT_EQ(array._blocks.size(), 1u);
        EXPECT_EQ(array._lastBlock, 0);
        ASSERT_TRUE(array.append(Vec4{-1, -2, -3, 1}));
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
    PagedArray<Vec4> vectors(kVertexBlockSize);
    ASSERT_TRUE(vectors.append(Vec4{5, 6, 7, 8}));
    // The block has room beyond _count; what lies there is not an element.
    for (uint32_t index : {1u, 2u, 3999u, 4000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(index);
        const Vec4 v = vectors.at(index);
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

    PagedArray<FaceRefChunk> chunks(kVertexBlockSize);
    const FaceRefChunk chunk = chunks.at(0);
    EXPECT_EQ(chunk._count, 0u);
    EXPECT_EQ(chunk._next, nullptr);
}

TEST(PagedArray, AFailedBlockStoresNothing) {
    PagedArray<Vec4> array(2);
    {
        test::FailingBlocks failing(2);
        ASSERT_TRUE(array.append(Vec4{1, 1, 1, 1}));
        ASSERT_TRUE(array.append(Vec4{2, 2, 2, 1}));
        EXPECT_FALSE(array.append(Vec4{3, 3, 3, 1}));
        EXPECT_EQ(failing.calls(), 2u);
    }
    EXPECT_EQ(array._count, 2u);
    EXPECT_EQ(array._lastBlock, 0);
    EXPECT_EQ(array._blocks.size(), 1u);
    ASSERT_TRUE(array.append(Vec4{3, 3, 3, 1}));
    EXPECT_EQ(array.at(2).x, 3.0f);
}

TEST(PagedArray, ExchangingArraysMovesTheirBlocks) {
    PagedArray<Vec4> a(kVertexBlockSize);
    PagedArray<Vec4> b(kVertexBlockSize);
    ASSERT_TRUE(a.append(Vec4{1, 2, 3, 1}));
    const Vec4* stored = a.find(0);
    std::swap(a, b);
    EXPECT_EQ(a._count, 0u);
    EXPECT_EQ(a._lastBlock, -1);
    EXPECT_EQ(b._count, 1u);
    EXPECT_EQ(b.find(0), stored);
}

// A list starts small and doubles, keeping its entries; a million lists of
// one face each must not cost a page each.
// The parallel read fills slots of blocks made ahead, out of order, then
// keeps what the read stored: the array must go on as if appended to.
TEST(PagedArray, SlotsFilledAheadAreKeptAsAppendedOnes) {
    PagedArray<Vec4> array(100);
    ASSERT_TRUE(array.reserveBlocks(250));
    EXPECT_EQ(array._blocks.size(), 3u);
    EXPECT_EQ(array._count, 0u) << "blocks made ahead store nothing";
    std::vector<uint32_t> runs;
    uint32_t next = 90;
    array.forEachRun(90, 120, [&](Vec4* slots, uint32_t count) {
        runs.push_back(count);
        for (uint32_t i = 0; i < count; ++i) slots[i] = Vec4{float(next++), 0, 0, 1};
    });
    EXPECT_EQ(runs, (std::vector<uint32_t>{10, 100, 10})) << "one run per block, in order";
    for (uint32_t i = 0; i < 90; ++i) array.slotAt(i) = Vec4{float(i), 0, 0, 1};

    array.keepFirst(205);
    EXPECT_EQ(array._count, 205u);
    EXPECT_EQ(array._blocks.size(), 3u);
    ASSERT_TRUE(array.append(Vec4{-1, 0, 0, 1}));
    EXPECT_EQ(array.at(204).x, 204.0f);
    EXPECT_EQ(array.at(205).x, -1.0f);

    array.keepFirst(100);
    EXPECT_EQ(array._blocks.size(), 1u) << "the blocks beyond go back";
    ASSERT_TRUE(array.append(Vec4{-2, 0, 0, 1}));
    EXPECT_EQ(array._blocks.size(), 2u);
    EXPECT_EQ(array.at(99).x, 99.0f);
    EXPECT_EQ(array.at(100).x, -2.0f);

    array.keepFirst(0);
    EXPECT_TRUE(array._blocks.empty());
    ASSERT_TRUE(array.append(Vec4{-3, 0, 0, 1}));
    EXPECT_EQ(array._count, 1u);
    EXPECT_EQ(array.at(0).x, -3.0f);
}

TEST(FaceIndexList, StartsSmallAndDoubles) {
    FaceIndexList list;
    EXPECT_EQ(list.capacity(), 0u);
    ASSERT_TRUE(list.append(0));
    EXPECT_EQ(list.capacity(), kFaceIndexListFirstCapacity);
    for (int32_t i = 1; i < 1024; ++i) ASSERT_TRUE(list.append(i));
    EXPECT_EQ(list.capacity(), 1024u);
    ASSERT_TRUE(list.append(1024));
    EXPECT_EQ(list.capacity(), 2048u);
    EXPECT_EQ(list.size(), 1025u);
    int32_t expected = 0;
    for (int32_t entry : list) ASSERT_EQ(entry, expected++);

    // Full and unable to grow: the entry is refused, the others stay.
    test::FailingBlocks failing(1);
    for (int32_t i = 1025; i < 2048; ++i) ASSERT_TRUE(list.append(i));
    EXPECT_FALSE(list.append(2048));
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
        OBJFace face;
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

TEST(OBJModel, DestructionReleasesEveryChainOfTheVertexIndex) {
    // LeakSanitizer reports what is left behind.
    OBJModel model;
    model._vertexFaces = new PagedArray<FaceRefChunk>(model._vertices._blockSize);
    ASSERT_TRUE(model._vertexFaces->addBlock(true));
    model._vertexFaces->_count = 3;
    FaceRefChunk* head = model._vertexFaces->find(1);
    EXPECT_EQ(head->_next, nullptr);
    for (int links = 0; links < 3; ++links) {
        auto* chunk = static_cast<FaceRefChunk*>(allocateBlock(sizeof(FaceRefChunk)));
        ASSERT_NE(chunk, nullptr);
        *chunk = FaceRefChunk{};
        chunk->_next = head->_next;
        head->_next = chunk;
    }
    model.releaseVertexFaces();
    EXPECT_EQ(model._vertexFaces, nullptr);
    model.releaseVertexFaces();
}

}  // namespace
}  // namespace tollgram::obj
