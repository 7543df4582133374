#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/module_reset.h"
#include "host/host_call.h"
#include "host/host_state.h"
#include "host/model_transfer.h"
#include "host/records.h"
#include "support/test_models.h"
#include "obj/failing_blocks.h"
#include "obj/index/vertex_faces.h"
#include "support/vertex_face_entries.h"
#include "substitute_host/substitute_host.h"

namespace tollgram {
namespace {

using substitute::SubstituteHost;
using test::call;
using test::CurrentModel;
using test::ModelBuilder;

// Every byte of both flag arrays, to show what a call changed.
std::vector<uint8_t> flagBytes(SubstituteHost& host, int32_t vertices, int32_t polygons, int32_t polygonSize = 4) {
    std::vector<uint8_t> bytes;
    for (int32_t v = 0; v < vertices; ++v) bytes.insert(bytes.end(), host.vertexEntry(v), host.vertexEntry(v) + 8);
    for (int32_t p = 0; p < polygons; ++p) {
        bytes.insert(bytes.end(), host.polygonEntry(p), host.polygonEntry(p) + polygonSize);
    }
    return bytes;
}

void fill(SubstituteHost& host, int32_t vertices, int32_t polygons, uint8_t byte, int32_t polygonSize = 4) {
    for (int32_t v = 0; v < vertices; ++v) std::memset(host.vertexEntry(v), byte, 8);
    for (int32_t p = 0; p < polygons; ++p) std::memset(host.polygonEntry(p), byte, size_t(polygonSize));
}

class Transfer : public ::testing::Test {
protected:
    void SetUp() override { resetModuleState(); }
    void TearDown() override { resetModuleState(); }
    SubstituteHost host;
};

// Two quads side by side:   3 - 4 - 5
//                           | A | B |
//                           0 - 1 - 2
std::unique_ptr<obj::OBJModel> twoQuads() {
    ModelBuilder builder(6);
    builder.face({0, 1, 4, 3}, {"A"}, 1).face({1, 2, 5, 4}, {"B"}, 2);
    return builder.take();
}

TEST_F(Transfer, MaskWritesEveryCornerOfTheGroup) {
    ModelBuilder builder(5);
    builder.face({0, 1, 2}, {"pair"}).face({2, 1, 3}, {"pair"}).face({3, 4, 2}, {"other"});
    CurrentModel model(builder.take());
    host.setMesh(5, 3);
    fill(host, 5, 3, 0xEE);
    EXPECT_EQ(call(SetMesh3DInfo, "maskValue", 300.0, host.context()), 0.0f);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, host.context()), 6.0f) << "corner writes, not vertices";
    for (int32_t v = 0; v < 4; ++v) {
        EXPECT_EQ(host.maskByte(v), 44) << v;
        for (int b : {0, 1, 3, 4, 5, 6, 7}) EXPECT_EQ(host.vertexEntry(v)[b], 0xEE) << v << " byte " << b;
    }
    EXPECT_EQ(host.maskByte(4), 0xEE);
    EXPECT_EQ(host.creaseByte(0), 0xEE);
}

TEST_F(Transfer, MaskWithTheInitialValueWritesZero) {
    CurrentModel model(twoQuads());
    host.setMesh(6, 2);
    fill(host, 6, 2, 0x77);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 2.9, host.context()), 4.0f);
    const uint8_t expected[] = {0x77, 0, 0, 0x77, 0, 0};
    for (int32_t v = 0; v < 6; ++v) EXPECT_EQ(host.maskByte(v), expected[v]) << v;
}

TEST_F(Transfer, MaskOfASmoothingGroup) {
    ModelBuilder builder(6);
    builder.face({0, 1, 2}, {"g"}, 8).face({1, 2, 3}, {"g"}, 3).face({3, 4, 5}, {"g"}, 8).face({0, 5, 4}, {"g"}, 0);
    CurrentModel model(builder.take());
    host.setMesh(6, 4);
    host::hostState().maskValue = 9;
    EXPECT_EQ(call(SetMesh3DFromOBJSmoothGroup, "mask", 1.0, host.context()), 6.0f) << "number 8, faces 0 and 2";
    const uint8_t expected[] = {9, 9, 9, 9, 9, 9};
    for (int32_t v = 0; v < 6; ++v) EXPECT_EQ(host.maskByte(v), expected[v]) << v;
    fill(host, 6, 4, 0);
    EXPECT_EQ(call(SetMesh3DFromOBJSmoothGroup, "mask", 2.0, host.context()), 3.0f) << "number 3, face 1";
    EXPECT_EQ(host.maskByte(0), 0);
    EXPECT_EQ(host.maskByte(3), 9);
    EXPECT_EQ(call(SetMesh3DFromOBJSmoothGroup, "mask", 3.0, host.context()), -1.0f) << "only two numbers";
}

TEST_F(Transfer, CreaseMarksTheBorderBetweenTwoQuads) {
    CurrentModel model(twoQuads());
    host.setMesh(6, 2);
    host.polygonEntry(0)[2] = 0x41;
    host.polygonEntry(1)[0] = 0x5A;
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), 1.0f);
    EXPECT_EQ(host.creaseByte(0), 0x41 | 0x0C) << "edge 1, from vertex 1 to 4; earlier bits stay";
    EXPECT_EQ(host.creaseByte(1), 0);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 2.0, host.context()), 1.0f);
    EXPECT_EQ(host.creaseByte(1), 0xC0) << "edge 3, from vertex 4 to 1";
    EXPECT_EQ(host.polygonEntry(1)[0], 0x5A);
    EXPECT_EQ(call(SetMesh3DFromOBJSmoothGroup, "crease", 1.0, host.context()), 1.0f) << "the same by number";
    EXPECT_EQ(host.creaseByte(0), 0x4D) << "bits are only ever set";
    EXPECT_EQ(call(SetMesh3DInfo, "smoothAll", 0.0, host.context()), 2.0f);
    EXPECT_EQ(call(SetMesh3DFromOBJSmoothGroup, "crease", 2.0, host.context()), 1.0f);
    EXPECT_EQ(host.creaseByte(0), 0);
    EXPECT_EQ(host.creaseByte(1), 0xC0);
}

TEST_F(Transfer, CreaseOfAGroupWithoutOutsideNeighbours) {
    ModelBuilder builder(6);
    builder.face({0, 1, 4, 3}, {"all"}).face({1, 2, 5, 4}, {"all"});
    CurrentModel model(builder.take());
    host.setMesh(6, 2);
    fill(host, 6, 2, 0x10);
    const std::vector<uint8_t> before = flagBytes(host, 6, 2);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), 0.0f);
    EXPECT_EQ(flagBytes(host, 6, 2), before);
}

// A face across a quad's diagonal uses both of its ends: it counts too.
TEST_F(Transfer, CreaseCountsEveryOutsideFaceOfAnEdge) {
    ModelBuilder builder(6);
    builder.face({0, 1, 2, 3}, {"quad"}).face({0, 1, 4}, {"fin"}).face({1, 0, 5}, {"fin"}).face({0, 2, 5}, {"fin"});
    CurrentModel model(builder.take());
    host.setMesh(6, 4);
    // Edge 0 (0, 1) borders two fins; edges 1 to 3 none; the fin (0, 2, 5)
    // touches 0 and 2, which no quad edge joins.
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), 2.0f);
    EXPECT_EQ(host.creaseByte(0), 0x03);
    // Fin edges: (0, 1) of face 1 borders the quad, (1, 0) of face 2 too, and
    // (0, 2) of face 3 lies across the quad's diagonal.
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 2.0, host.context()), 3.0f);
    EXPECT_EQ(host.creaseByte(1), 0x03);
    EXPECT_EQ(host.creaseByte(2), 0x03);
    EXPECT_EQ(host.creaseByte(3), 0x03);
}

TEST_F(Transfer, EdgesBeyondTheFourthAreCountedButNotMarked) {
    ModelBuilder builder(7);
    builder.face({0, 1, 2, 3, 4, 5}, {"hex"}).face({5, 0, 6}, {"tri"}).face({1, 2, 6}, {"tri"});
    CurrentModel model(builder.take());
    host.setMesh(7, 3);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), 2.0f) << "edges 1 and 5";
    EXPECT_EQ(host.creaseByte(0), 0x0C);
}

TEST_F(Transfer, ChecksBeforeAnyWrite) {
    CurrentModel model(twoQuads());
    struct Case {
        const char* name;
        test::Export function;
        const char* key;
        double value;
        float result;
    };
    const Case cases[] = {
        {"null key", SetMesh3DFromOBJGroup, nullptr, 1.0, -1.0f},
        {"unknown key", SetMesh3DFromOBJGroup, "Mask", 1.0, -1.0f},
        {"value 0", SetMesh3DFromOBJGroup, "mask", 0.0, -1.0f},
        {"negative value", SetMesh3DFromOBJGroup, "crease", -1.0, -1.0f},
        {"NaN", SetMesh3DFromOBJGroup, "mask", std::nan(""), -1.0f},
        {"beyond the groups", SetMesh3DFromOBJGroup, "mask", 3.0, -1.0f},
        {"huge", SetMesh3DFromOBJGroup, "crease", 1e12, -1.0f},
        {"0.5 names no group", SetMesh3DFromOBJGroup, "mask", 0.5, -1.0f},
        {"0.5 for crease", SetMesh3DFromOBJGroup, "crease", 0.5, -1.0f},
        {"beyond the numbers", SetMesh3DFromOBJSmoothGroup, "mask", 3.0, -1.0f},
        {"0.5 of a number", SetMesh3DFromOBJSmoothGroup, "crease", 0.5, -1.0f},
    };
    host.setMesh(6, 2);
    fill(host, 6, 2, 0xAB);
    const std::vector<uint8_t> before = flagBytes(host, 6, 2);
    for (const Case& c : cases) {
        EXPECT_EQ(call(c.function, c.key, c.value, host.context()), c.result) << c.name;
        EXPECT_EQ(flagBytes(host, 6, 2), before) << c.name;
    }
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, nullptr), -1.0f) << "no context";
    SubstituteHost bare;
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, bare.context()), -1.0f) << "no mesh record";
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, bare.context()), -1.0f) << "no mesh record";
}

TEST_F(Transfer, NoModel) {
    host.setMesh(6, 2);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, host.context()), -1.0f);
    EXPECT_EQ(call(SetMesh3DFromOBJSmoothGroup, "crease", 1.0, host.context()), -1.0f);
}

TEST_F(Transfer, AMeshOfAnotherVertexCountIsNotTheModels) {
    CurrentModel model(twoQuads());
    struct Case {
        const char* name;
        test::Export function;
        const char* key;
        double value;
    };
    const Case cases[] = {{"group mask", SetMesh3DFromOBJGroup, "mask", 1.0},
                          {"group crease", SetMesh3DFromOBJGroup, "crease", 1.0},
                          {"number mask", SetMesh3DFromOBJSmoothGroup, "mask", 2.0},
                          {"number crease", SetMesh3DFromOBJSmoothGroup, "crease", 2.0},
                          {"0.5 still compares counts", SetMesh3DFromOBJGroup, "mask", 0.5}};
    host.setMesh(7, 2);
    fill(host, 7, 2, 0xCD);
    const std::vector<uint8_t> before = flagBytes(host, 7, 2);
    host::hostState().maskValue = 1;
    for (const Case& c : cases) {
        EXPECT_EQ(call(c.function, c.key, c.value, host.context()), -3.0f) << c.name;
        EXPECT_EQ(flagBytes(host, 7, 2), before) << c.name;
    }
    SubstituteHost::set32(host.meshRecord(), host::mesh::kVertexFlags, 0);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, host.context()), -3.0f) << "no vertex array: 0 vertices";
    EXPECT_EQ(model->_vertexFaces, nullptr) << "no index built for a refused crease";
}

TEST_F(Transfer, ArraysTheTransfersCannotUse) {
    CurrentModel model(twoQuads());
    host.setMesh(6, 2);
    host.setPolygonFlags(2, 8);
    fill(host, 6, 2, 0x3C, 8);
    const std::vector<uint8_t> before = flagBytes(host, 6, 2, 8);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), -1.0f) << "element size 8";
    EXPECT_EQ(flagBytes(host, 6, 2, 8), before);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, host.context()), 4.0f) << "mask does not use polygons";

    host.setPolygonFlags(3);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), -1.0f) << "a polygon more than faces";
    uint8_t* polygons = host.setPolygonFlags(2);
    SubstituteHost::set32(host::pointerAt(polygons, host::host_array::kBuffer), host::buffer_record::kElements, 0);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), -1.0f) << "no polygon entries";
    SubstituteHost::set32(polygons, host::host_array::kBuffer, 0);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), -1.0f) << "no polygon buffer";
    SubstituteHost::set32(host.meshRecord(), host::mesh::kPolygonFlags, 0);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), -1.0f) << "no polygon array";
    EXPECT_EQ(model->_vertexFaces, nullptr);

    uint8_t* vertices = host.setVertexFlags(6);
    SubstituteHost::set32(vertices, host::host_array::kBuffer, 0);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, host.context()), -1.0f) << "no vertex buffer";
}

// A group whose name has no face list cannot come from a read model; the
// transfer fails without writing.
TEST_F(Transfer, AGroupNameWithoutFaceList) {
    std::unique_ptr<obj::OBJModel> quads = twoQuads();
    quads->_groupNames.push_back("ghost");
    CurrentModel model(std::move(quads));
    host.setMesh(6, 2);
    fill(host, 6, 2, 0x99);
    const std::vector<uint8_t> before = flagBytes(host, 6, 2);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 3.0, host.context()), -1.0f);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 3.0, host.context()), -1.0f);
    EXPECT_EQ(flagBytes(host, 6, 2), before);
}

TEST_F(Transfer, TheIndexIsBuiltOnceAndKept) {
    CurrentModel model(twoQuads());
    host.setMesh(6, 2);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "mask", 1.0, host.context()), 4.0f);
    EXPECT_EQ(model->_vertexFaces, nullptr) << "mask needs no index";
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), 1.0f);
    const auto* index = model->_vertexFaces;
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(call(SetMesh3DFromOBJSmoothGroup, "crease", 2.0, host.context()), 1.0f);
    EXPECT_EQ(model->_vertexFaces, index);
}

TEST_F(Transfer, AnIndexThatCannotBeBuiltWritesNothing) {
    CurrentModel model(twoQuads());
    host.setMesh(6, 2);
    const std::vector<uint8_t> before = flagBytes(host, 6, 2);
    {
        obj::test::FailingBlocks failure(1);
        EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), -1.0f);
    }
    EXPECT_EQ(model->_vertexFaces, nullptr);
    EXPECT_EQ(flagBytes(host, 6, 2), before);
    EXPECT_EQ(call(SetMesh3DFromOBJGroup, "crease", 1.0, host.context()), 1.0f) << "built on the next request";
}

// What the export makes -1 or -3 of, told apart by the transfers, which
// change no byte when they fail.
TEST_F(Transfer, FaultsTellWhyNothingWasWritten) {
    using host::TransferFault;
    const std::unique_ptr<obj::OBJModel> model = twoQuads();
    struct Case {
        const char* name;
        int32_t vertices, polygons;
        uint32_t index;
        TransferFault mask, crease;
    };
    const Case cases[] = {
        {"a vertex too many", 7, 2, 0, TransferFault::VertexCountsDiffer, TransferFault::VertexCountsDiffer},
        {"no group of that index", 6, 2, 2, TransferFault::NothingChosen, TransferFault::NothingChosen},
        {"a polygon too many", 6, 3, 0, TransferFault::None, TransferFault::MeshUnusable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.setMesh(c.vertices, c.polygons);
        fill(host, c.vertices, c.polygons, 0x55);
        const std::vector<uint8_t> before = flagBytes(host, c.vertices, c.polygons);
        uint8_t* mesh = host::pointerAt(host.context(), host::context::kMeshRecord);
        const host::Transferred crease = host::creaseTransfer(*model, host::Choice::Group, c.index, mesh);
        EXPECT_EQ(crease.fault, c.crease);
        EXPECT_EQ(flagBytes(host, c.vertices, c.polygons), before);
        const host::Transferred mask = host::maskTransfer(*model, host::Choice::Group, c.index, mesh, 9);
        EXPECT_EQ(mask.fault, c.mask);
        if (c.mask == TransferFault::None) {
            EXPECT_EQ(mask.count, 4u);
        } else {
            EXPECT_EQ(flagBytes(host, c.vertices, c.polygons), before);
        }
    }
    host.setMesh(6, 2);
    uint8_t* mesh = host::pointerAt(host.context(), host::context::kMeshRecord);
    {
        obj::test::FailingBlocks failure(1);
        EXPECT_EQ(host::creaseTransfer(*model, host::Choice::SmoothingGroup, 0, mesh).fault, TransferFault::OutOfMemory);
    }
    const host::Transferred crease = host::creaseTransfer(*model, host::Choice::SmoothingGroup, 0, mesh);
    EXPECT_EQ(crease.fault, TransferFault::None);
    EXPECT_EQ(crease.count, 1u);
}

// The transfer as written down, with the index's own queries and a linear
// search of the group's faces, to hold the library's against.
struct Reference {
    const obj::OBJModel& model;
    bool outside(uint32_t h, const std::string* group, uint32_t number) const {
        if (group == nullptr) return faceValueAt(model, h)._smoothingGroup != number;
        for (int32_t f : model._groupFaces.at(*group)) {
            if (uint32_t(f) == h) return false;
        }
        return true;
    }
    uint32_t crease(uint32_t f, const std::string* group, uint32_t number, std::vector<uint8_t>& creases) const {
        const obj::FaceValue face = faceValueAt(model, f);
        uint32_t count = 0;
        for (uint32_t j = 0; j < face._cornerCount; ++j) {
            const auto a = uint32_t(face._vertexIndices[j]);
            const auto b = uint32_t(face._vertexIndices[(j + 1) % face._cornerCount]);
            for (int64_t t = 0; t < test::vertexFaceCount(model, a); ++t) {
                const auto h = uint32_t(test::vertexFaceAt(model, a, uint32_t(t)));
                if (h >= model._faces._count || h == f || !outside(h, group, number)) continue;
                for (int64_t u = 0; u < test::vertexFaceCount(model, b); ++u) {
                    if (uint32_t(test::vertexFaceAt(model, b, uint32_t(u))) != h) continue;
                    if (j < 4) creases[f] = uint8_t(creases[f] | (3u << (2 * j)));
                    ++count;
                    break;
                }
            }
        }
        return count;
    }
};

// Random meshes with much sharing: few vertices, faces of three to eight
// corners, a fan vertex used by many faces, faces listed twice in a group,
// now and then a corner named twice in one face, and in every third mesh a
// crowded edge: a fin of 25 to 60 triangles round edge 0-1, each also
// stacked on a copy of itself in another group.
TEST_F(Transfer, CreaseAgreesWithTheStraightforwardTransfer) {
    std::mt19937 rng(8122026);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    const char* const groups[] = {"a", "b", "c"};
    for (int round = 0; round < 150; ++round) {
        const int vertices = pick(4, 20);
        ModelBuilder builder{uint32_t(vertices)};
        int faces = pick(1, 80);
        for (int i = 0; i < faces; ++i) {
            std::vector<int32_t> corners;
            const int n = pick(3, 8);
            if (pick(0, 3) == 0) corners.push_back(0);  // the fan vertex
            while (int(corners.size()) < n) {
                const int32_t v = pick(0, vertices - 1);
                if (pick(0, 30) == 0 || std::find(corners.begin(), corners.end(), v) == corners.end()) {
                    corners.push_back(v);
                }
            }
            const int g = pick(0, 2);
            if (pick(0, 10) == 0) {
                builder.face(corners, {groups[g], groups[g]}, uint32_t(pick(1, 3)));
            } else {
                builder.face(corners, {groups[g]}, uint32_t(pick(0, 3)));
            }
        }
        if (round % 3 == 0) {
            const int fin = pick(25, 60);
            for (int i = 0; i < fin; ++i) {
                const int32_t v = pick(2, vertices - 1);
                const int g = pick(0, 2);
                builder.face({0, 1, v}, {groups[g]}, uint32_t(pick(0, 3)));
                builder.face({1, 0, v}, {groups[(g + 1) % 3]}, uint32_t(pick(0, 3)));
            }
            faces += 2 * fin;
        }
        CurrentModel model(builder.take());
        ASSERT_TRUE(obj::buildVertexFaces(*model));
        const Reference reference{*model};
        const auto groupCount = uint32_t(model->_groupNames.size());
        for (uint32_t n = 1; n <= groupCount + model->_smoothingGroupCount; ++n) {
            const bool byGroup = n <= groupCount;
            const uint32_t k = byGroup ? n - 1 : n - 1 - groupCount;
            const std::string* group = byGroup ? &model->_groupNames[k] : nullptr;
            const uint32_t number = byGroup ? 0 : model->_smoothingGroups[k];
            std::vector<uint8_t> expected(size_t(faces), 0);
            uint32_t expectedCount = 0;
            if (byGroup) {
                for (int32_t f : model->_groupFaces.at(*group)) expectedCount += reference.crease(uint32_t(f), group, 0, expected);
            } else {
                for (uint32_t f = 0; f < uint32_t(faces); ++f) {
                    if (faceValueAt(*model, f)._smoothingGroup == number) expectedCount += reference.crease(f, nullptr, number, expected);
                }
            }
            host.setMesh(vertices, faces);
            const float result = byGroup ? call(SetMesh3DFromOBJGroup, "crease", double(k + 1), host.context())
                                         : call(SetMesh3DFromOBJSmoothGroup, "crease", double(k + 1), host.context());
            ASSERT_EQ(result, float(expectedCount)) << "round " << round << " choice " << n;
            for (int32_t p = 0; p < faces; ++p) ASSERT_EQ(host.creaseByte(p), expected[size_t(p)]) << "round " << round << " choice " << n << " polygon " << p;
        }
    }
}

// K² triangles (A_i, B_j, C_ij) in "chosen" and (B_j, A_i, D_ij) in
// "other": every edge A_i-B_j joins two vertices of 2K faces each and has
// one outside neighbour; with fins of 20 more triangles round a few of those
// edges, in either group, and some triangles in both.
TEST_F(Transfer, CreaseNearCrowdedEdgesAgreesWithTheStraightforwardTransfer) {
    constexpr int32_t k = 12;
    const int32_t c = 2 * k;
    const int32_t d = c + k * k;
    const int32_t fins = d + k * k;
    ModelBuilder builder{uint32_t(fins + 3 * 20)};
    for (int32_t i = 0; i < k; ++i) {
        for (int32_t j = 0; j < k; ++j) builder.face({i, k + j, c + i * k + j}, {"chosen"}, 1);
    }
    for (int32_t i = 0; i < k; ++i) {
        for (int32_t j = 0; j < k; ++j) {
            if ((i + j) % 7 == 0) {
                builder.face({k + j, i, d + i * k + j}, {"other", "chosen"}, 2);
            } else {
                builder.face({k + j, i, d + i * k + j}, {"other"}, 2);
            }
        }
    }
    for (int32_t f = 0; f < 3; ++f) {
        for (int32_t t = 0; t < 20; ++t) builder.face({f, k + f, fins + f * 20 + t}, {t % 3 == 0 ? "chosen" : "fin"}, 3);
    }
    CurrentModel model(builder.take());
    const auto faces = int32_t(model->_faces._count);
    host.setMesh(int32_t(model->_vertices._count), faces);
    ASSERT_TRUE(obj::buildVertexFaces(*model));
    const Reference reference{*model};
    for (uint32_t g = 0; g < model->_groupNames.size(); ++g) {
        const std::string* group = &model->_groupNames[g];
        std::vector<uint8_t> expected(size_t(faces), 0);
        uint32_t expectedCount = 0;
        for (int32_t f : model->_groupFaces.at(*group)) expectedCount += reference.crease(uint32_t(f), group, 0, expected);
        for (int32_t p = 0; p < faces; ++p) std::memset(host.polygonEntry(p), 0, 4);
        ASSERT_EQ(call(SetMesh3DFromOBJGroup, "crease", double(g + 1), host.context()), float(expectedCount)) << *group;
        for (int32_t p = 0; p < faces; ++p) ASSERT_EQ(host.creaseByte(p), expected[size_t(p)]) << *group << " polygon " << p;
    }
    for (uint32_t s = 0; s < model->_smoothingGroupCount; ++s) {
        const uint32_t number = model->_smoothingGroups[s];
        std::vector<uint8_t> expected(size_t(faces), 0);
        uint32_t expectedCount = 0;
        for (uint32_t f = 0; f < uint32_t(faces); ++f) {
            if (faceValueAt(*model, f)._smoothingGroup == number) expectedCount += reference.crease(f, nullptr, number, expected);
        }
        for (int32_t p = 0; p < faces; ++p) std::memset(host.polygonEntry(p), 0, 4);
        ASSERT_EQ(call(SetMesh3DFromOBJSmoothGroup, "crease", double(s + 1), host.context()), float(expectedCount)) << number;
        for (int32_t p = 0; p < faces; ++p) ASSERT_EQ(host.creaseByte(p), expected[size_t(p)]) << number << " polygon " << p;
    }
}

}  // namespace
}  // namespace tollgram
