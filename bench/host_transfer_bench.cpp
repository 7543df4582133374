// Mask and crease transfer of a group of about a million faces onto a
// matching substitute mesh, the first crease including the build of the
// vertex-to-faces index. Beside it, on small slices of the same grid, the
// straightforward transfer whose outside test searches the group's face list
// once per neighbour, and the library's own on the same slices, so that the
// growth of both shows. Then crowded edges, N doubling: a fin of N triangles
// round one edge, N copies of one triangle, and N copies in a group named N
// times on its line, beside a grid of as many faces (the baseline), with the
// growth of each median when N doubles (2 for linear time, 4 for quadratic;
// for the group named K times the list holds K squared faces, and 4 is linear).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "support/module_reset.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"
#include "obj/index/vertex_faces.h"
#include "support/test_models.h"
#include "support/vertex_face_entries.h"
#include "substitute_host/substitute_host.h"

#include "median.h"

namespace {

using namespace tollgram;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A grid of columns × rows quads; the first groupColumns columns form group
// "part", the rest group "rest", so "part" has one border of outside
// neighbours.
std::unique_ptr<obj::OBJModel> grid(int32_t columns, int32_t rows, int32_t groupColumns) {
    auto model = std::make_unique<obj::OBJModel>();
    for (int32_t y = 0; y <= rows; ++y) {
        for (int32_t x = 0; x <= columns; ++x) model->_vertices.append(obj::Vec3{float(x), float(y), 0});
    }
    for (int32_t y = 0; y < rows; ++y) {
        for (int32_t x = 0; x < columns; ++x) {
            obj::FaceValue face;
            face._cornerCount = 4;
            const int32_t v = y * (columns + 1) + x;
            face._vertexIndices[0] = v;
            face._vertexIndices[1] = v + 1;
            face._vertexIndices[2] = v + columns + 2;
            face._vertexIndices[3] = v + columns + 1;
            test::listFace(*model, face, {x < groupColumns ? "part" : "rest"});
        }
    }
    return model;
}

void install(std::unique_ptr<obj::OBJModel> model, substitute::SubstituteHost& host) {
    delete obj::objState().currentModel;
    obj::objState().currentModel = model.release();
    const obj::OBJModel& current = *obj::objState().currentModel;
    host.setMesh(int32_t(current._vertices._count), int32_t(current._faces._count));
}

float crease(substitute::SubstituteHost& host) {
    return SetMesh3DFromOBJGroup("crease", 1.0, nullptr, 0, 0, 0, host.context());
}

// The transfer as first written: for each neighbour, a linear search of the
// group's face list.
uint32_t straightforwardCrease(obj::OBJModel& model, uint8_t* polygonEntries) {
    obj::buildVertexFaces(model);
    const std::string& name = model._groupNames[0];
    const obj::FaceIndexList& list = model._groupFaces.at(name);
    auto inGroup = [&](int32_t h) {
        for (int32_t f : list) {
            if (f == h) return true;
        }
        return false;
    };
    uint32_t count = 0;
    for (int32_t f : list) {
        const obj::FaceValue face = faceValueAt(model, uint32_t(f));
        for (uint32_t j = 0; j < face._cornerCount; ++j) {
            const auto a = uint32_t(face._vertexIndices[j]);
            const auto b = uint32_t(face._vertexIndices[(j + 1) % face._cornerCount]);
            for (int64_t t = 0; t < test::vertexFaceCount(model, a); ++t) {
                const int32_t h = test::vertexFaceAt(model, a, uint32_t(t));
                if (uint32_t(h) >= model._faces._count || h == f || inGroup(h)) continue;
                for (int64_t u = 0; u < test::vertexFaceCount(model, b); ++u) {
                    if (test::vertexFaceAt(model, b, uint32_t(u)) != h) continue;
                    if (j < 4) polygonEntries[size_t(f) * 4 + 2] |= uint8_t(3u << (2 * j));
                    ++count;
                    break;
                }
            }
        }
    }
    return count;
}

void slice(int32_t rows) {
    substitute::SubstituteHost host;
    install(grid(100, rows, 90), host);
    obj::buildVertexFaces(*obj::objState().currentModel);  // both sides timed without the build
    Clock::time_point start = Clock::now();
    const float library = crease(host);
    const double librarySeconds = secondsSince(start);
    uint8_t* entries = substitute::SubstituteHost::elementsOf(
        host::pointerAt(host.meshRecord(), host::mesh::kPolygonFlags));
    start = Clock::now();
    const uint32_t plain = straightforwardCrease(*obj::objState().currentModel, entries);
    const double plainSeconds = secondsSince(start);
    std::printf("slice %7d faces: library %9.6f s (%g edges), straightforward %9.6f s (%u edges), ratio %.0f\n",
                100 * rows, librarySeconds, double(library), plainSeconds, plain, plainSeconds / librarySeconds);
}

// Triangles on vertices 0, 1 and a third: the first group "chosen" holds
// all but the last, which is in "other". A fin has a third vertex of its own
// for every triangle; stacked copies share vertex 2. Each chosen triangle is
// named namesPerFace times on its group line.
std::unique_ptr<obj::OBJModel> crowdedEdge(int32_t triangles, bool fin, int32_t namesPerFace) {
    auto model = std::make_unique<obj::OBJModel>();
    const int32_t vertices = fin ? triangles + 2 : 3;
    for (int32_t v = 0; v < vertices; ++v) model->_vertices.append(obj::Vec3{float(v), float(v % 7), 0});
    for (int32_t i = 0; i < triangles; ++i) {
        obj::FaceValue face;
        face._cornerCount = 3;
        face._vertexIndices[0] = 0;
        face._vertexIndices[1] = 1;
        face._vertexIndices[2] = fin ? 2 + i : 2;
        test::listFace(*model, face);
        const bool chosen = i + 1 < triangles;
        for (int32_t n = 0; n < (chosen ? namesPerFace : 1); ++n) {
            test::listInGroup(*model, chosen ? "chosen" : "other", model->_faces._count - 1);
        }
    }
    return model;
}

// Median seconds of the crease transfer of group 1, the index built first.
double creaseSeconds(std::unique_ptr<obj::OBJModel> (*make)(int32_t, int32_t), int32_t n, float& result) {
    std::vector<double> rounds;
    for (int round = 0; round < 3; ++round) {
        substitute::SubstituteHost host;
        install(make(n, n), host);
        obj::buildVertexFaces(*obj::objState().currentModel);
        const Clock::time_point start = Clock::now();
        result = crease(host);
        rounds.push_back(secondsSince(start));
    }
    return bench::median(rounds);
}

void crowdedSeries() {
    struct Series {
        const char* name;
        std::unique_ptr<obj::OBJModel> (*make)(int32_t, int32_t);
        double previous = 0;
    };
    Series series[] = {
        {"grid of N quads, half chosen (baseline)", [](int32_t n, int32_t) { return grid(100, n / 100, 50); }},
        {"fin of N triangles round one edge", [](int32_t n, int32_t) { return crowdedEdge(n, true, 1); }},
        {"N copies of one triangle", [](int32_t n, int32_t) { return crowdedEdge(n, false, 1); }},
        {"K = N/16 copies named K times (x4 linear)", [](int32_t n, int32_t) { return crowdedEdge(n / 16, false, n / 16); }},
    };
    std::printf("crowded edges: median of 3 rounds, growth when N doubles\n");
    for (int32_t n = 4000; n <= 32000; n *= 2) {
        for (Series& s : series) {
            float result = 0;
            const double seconds = creaseSeconds(s.make, n, result);
            std::printf("  N = %6d  %-42s %9.6f s (%g edges)", n, s.name, seconds, double(result));
            if (s.previous > 0) std::printf("  x%.2f", seconds / s.previous);
            std::printf("\n");
            s.previous = seconds;
        }
    }
}

}  // namespace

int main() {
    constexpr int32_t kColumns = 1100;
    constexpr int32_t kRows = 1000;
    constexpr int32_t kGroupColumns = 1000;  // "part": 1,000,000 faces
    substitute::SubstituteHost host;
    Clock::time_point start = Clock::now();
    install(grid(kColumns, kRows, kGroupColumns), host);
    std::printf("grid of %u faces, %u vertices made in %.3f s\n", obj::objState().currentModel->_faces._count,
                obj::objState().currentModel->_vertices._count, secondsSince(start));

    SetMesh3DInfo("maskValue", 200.0, nullptr, 0, 0, 0, host.context());
    start = Clock::now();
    const float masked = SetMesh3DFromOBJGroup("mask", 1.0, nullptr, 0, 0, 0, host.context());
    std::printf("mask of 1,000,000 faces:                    %.3f s (%g corner writes)\n", secondsSince(start),
                double(masked));
    start = Clock::now();
    const float first = crease(host);
    std::printf("crease of 1,000,000 faces with index build: %.3f s (%g edges)\n", secondsSince(start), double(first));
    start = Clock::now();
    const float second = crease(host);
    std::printf("crease again, index kept:                   %.3f s (%g edges)\n", secondsSince(start), double(second));

    delete obj::objState().currentModel;
    obj::objState().currentModel = nullptr;
    for (int32_t rows : {50, 100, 200}) slice(rows);
    crowdedSeries();
    return 0;
}
