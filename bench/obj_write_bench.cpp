// Writing the whole model of ~1M quads (~125 MB of OBJ text): the model's
// writer beside a plain fprintf writer of the same lines, in the same run,
// and the same model with its faces in 1 group, in 100 consecutive groups
// and in 100 interleaved groups (every face changes group). Reports MB/s,
// best of several runs.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"
#include "obj/write/obj_writer.h"
#include "support/test_models.h"

namespace {

using tollgram::obj::FaceValue;
using tollgram::obj::OBJModel;
using tollgram::obj::Vec3;

constexpr uint32_t kSide = 1000;  // quads per side of the grid

// A deterministic height field with texture coordinates; every quad of the
// grid one face with vertex and texture indices.
void buildGrid(OBJModel& model) {
    uint32_t state = 20261208u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f;
    };
    for (uint32_t row = 0; row <= kSide; ++row) {
        for (uint32_t column = 0; column <= kSide; ++column) {
            const float x = static_cast<float>(column) * 0.173f - 86.5f;
            const float z = static_cast<float>(row) * 0.173f - 86.5f;
            model._vertices.append(Vec3{x, next() * 12.0f - 6.0f, z});
            model._textureCoords.append(Vec3{static_cast<float>(column) / kSide, static_cast<float>(row) / kSide, 0});
        }
    }
    for (uint32_t row = 0; row < kSide; ++row) {
        for (uint32_t column = 0; column < kSide; ++column) {
            const int32_t corner = static_cast<int32_t>(row * (kSide + 1) + column);
            const int32_t corners[4] = {corner, corner + 1, corner + static_cast<int32_t>(kSide) + 2,
                                        corner + static_cast<int32_t>(kSide) + 1};
            FaceValue face;
            face._cornerCount = 4;
            face._hasTexture = 1;
            for (int c = 0; c < 4; ++c) face._vertexIndices[c] = face._textureIndices[c] = corners[c];
            tollgram::test::listFace(model, face);
        }
    }
}

// groupOf(face) names the face's one group.
void assignGroups(OBJModel& model, const std::function<uint32_t(uint32_t)>& groupOf) {
    for (uint32_t i = 0; i < model._faces._count; ++i) {
        tollgram::test::listInGroup(model, "part" + std::to_string(groupOf(i)), i);
    }
}

// The same lines as the writer, one fprintf per line or corner.
bool fprintfWriter(const OBJModel& model, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    std::fprintf(file, "# File Created by Tollgram for Kavrex\n# https://tollgram.example.com/\n");
    std::fprintf(file, "#Vertex Count %u\n#Face Count %u\n#Material Count %u\n", model._vertices._count,
                 model._faces._count, static_cast<unsigned>(model._materials.size()));
    for (uint32_t i = 0; i < model._vertices._count; ++i) {
        const Vec3 v = model._vertices.at(i);
        std::fprintf(file, "v %#g %#g %#g \n", double(v.x), double(v.y), double(v.z));
    }
    for (uint32_t i = 0; i < model._textureCoords._count; ++i) {
        const Vec3 v = model._textureCoords.at(i);
        std::fprintf(file, "vt %#g %#g %#g \n", double(v.x), double(v.y), double(v.z));
    }
    std::fprintf(file, "g %s\n", model._groupNames.empty() ? "default" : model._groupNames[0].c_str());
    for (uint32_t i = 0; i < model._faces._count; ++i) {
        const FaceValue face = faceValueAt(model, i);
        std::fputs("f", file);
        for (uint32_t c = 0; c < face._cornerCount; ++c) {
            std::fprintf(file, " %u/%u", face._vertexIndices[c] + 1u, face._textureIndices[c] + 1u);
        }
        std::fputs("\n", file);
    }
    return std::fclose(file) == 0;
}

struct Figure {
    double seconds = 1e30;
    double megabytes = 0;
};

struct Writer {
    const char* name;
    std::function<bool(const char*)> write;
    Figure figure;
};

// Round after round, every writer once per round, each keeping its best
// time: a busy machine then slows all of them alike, and the ratios hold.
bool measure(int rounds, const std::string& path, std::vector<Writer>& writers) {
    for (int round = 0; round < rounds; ++round) {
        for (Writer& writer : writers) {
            const auto start = std::chrono::steady_clock::now();
            if (!writer.write(path.c_str())) {
                std::fprintf(stderr, "%s: writing %s failed\n", writer.name, path.c_str());
                return false;
            }
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            writer.figure.seconds = std::min(writer.figure.seconds, seconds);
            writer.figure.megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
            std::filesystem::remove(path);
        }
    }
    return true;
}

void report(const char* name, const Figure& figure, const Figure& baseline) {
    std::printf("%-34s %8.1f MB %7.3f s %8.1f MB/s  x%.2f\n", name, figure.megabytes, figure.seconds,
                figure.megabytes / figure.seconds, baseline.seconds / figure.seconds);
}

}  // namespace

int main() {
    const std::string path = (std::filesystem::temp_directory_path() / "tollgram_obj_write_bench.obj").string();
    OBJModel oneGroup;
    OBJModel consecutive;
    OBJModel interleaved;
    for (OBJModel* model : {&oneGroup, &consecutive, &interleaved}) buildGrid(*model);
    const uint32_t faces = oneGroup._faces._count;
    assignGroups(oneGroup, [](uint32_t) { return 0u; });
    assignGroups(consecutive, [faces](uint32_t i) { return i / (faces / 100); });
    assignGroups(interleaved, [](uint32_t i) { return i % 100; });
    std::printf("%u vertices, %u texture coordinates, %u quads\n", oneGroup._vertices._count,
                oneGroup._textureCoords._count, faces);

    std::vector<Writer> writers = {
        {"fprintf writer, 1 group", [&](const char* p) { return fprintfWriter(oneGroup, p); }, {}},
        {"writer, 1 group", [&](const char* p) { return tollgram::obj::writeWholeModel(oneGroup, p) == tollgram::obj::ModelWrite::Written; }, {}},
        {"writer, 100 consecutive groups",
         [&](const char* p) { return tollgram::obj::writeWholeModel(consecutive, p) == tollgram::obj::ModelWrite::Written; }, {}},
        {"writer, 100 interleaved groups",
         [&](const char* p) { return tollgram::obj::writeWholeModel(interleaved, p) == tollgram::obj::ModelWrite::Written; }, {}},
    };
    if (!measure(3, path, writers)) return 1;
    for (const Writer& writer : writers) report(writer.name, writer.figure, writers.front().figure);
    return 0;
}
