// Reading a ~100 MB sculpt-like OBJ file: the model reader beside a plain
// fgets + sscanf reader and tinyobjloader, on the same file in the same run.
// Reports MB/s (best of several rounds) and the peak resident memory each
// reader adds. Linux only: the peak comes from /proc/self/status (VmHWM),
// reset between readers through /proc/self/clear_refs.
#include <malloc.h>
#include <tiny_obj_loader.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "obj/obj_model.h"
#include "obj_generator/sculpt_obj.h"

namespace {

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) return std::strtol(line.c_str() + length + 1, nullptr, 10);
    }
    return -1;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Figures {
    double seconds = 1e30;
    long peakKiB = 0;
    size_t faces = 0;
};

// One run of a reader: its time and the peak resident memory it added.
// Each run must build its whole result and release it before returning.
void measureOnce(Figures& f, const std::function<size_t()>& read) {
    malloc_trim(0);  // memory kept from the previous reader would hide this one's
    resetPeak();
    const long before = statusKiB("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    f.faces = read();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    f.seconds = std::min(f.seconds, seconds);
    f.peakKiB = std::max(f.peakKiB, statusKiB("VmHWM:") - before);
}

// The plain way: one fgets and one sscanf per line, std::vector storage.
size_t readWithSscanf(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return 0;
    std::vector<float> positions, coords, normals;
    std::vector<int> corners;
    std::vector<size_t> faceStarts;
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
        float x, y, z;
        if (line[0] == 'v' && line[1] == ' ' && std::sscanf(line + 2, "%f %f %f", &x, &y, &z) == 3) {
            positions.insert(positions.end(), {x, y, z});
        } else if (line[0] == 'v' && line[1] == 't' && std::sscanf(line + 2, "%f %f", &x, &y) == 2) {
            coords.insert(coords.end(), {x, y});
        } else if (line[0] == 'v' && line[1] == 'n' && std::sscanf(line + 2, "%f %f %f", &x, &y, &z) == 3) {
            normals.insert(normals.end(), {x, y, z});
        } else if (line[0] == 'f' && line[1] == ' ') {
            faceStarts.push_back(corners.size());
            const char* p = line + 1;
            int v, t, n, used;
            while (std::sscanf(p, " %d/%d/%d%n", &v, &t, &n, &used) == 3) {
                corners.insert(corners.end(), {v, t, n});
                p += used;
            }
        }
    }
    std::fclose(file);
    return faceStarts.size();
}

size_t readWithTinyobj(const std::string& path, const std::string& directory) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), directory.c_str(), false)) return 0;
    size_t faces = 0;
    for (const auto& shape : shapes) faces += shape.mesh.num_face_vertices.size();
    return faces;
}

size_t readWithModel(const std::string& path) {
    tollgram::obj::OBJModel model;
    if (!model.readOBJ(path)) {
        std::fprintf(stderr, "read failed: %s\n", model._errorText.c_str());
        return 0;
    }
    return model._faces._count;
}

// The floor: finding every line end, nothing else.
size_t countLines(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    std::vector<char> block(1 << 20);
    size_t lines = 0, got;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
        for (const char* p = block.data(); (p = static_cast<const char*>(std::memchr(p, '\n', size_t(block.data() + got - p))));
             ++p) {
            ++lines;
        }
    }
    std::fclose(file);
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const uint32_t side = argc > 1 ? uint32_t(std::atoi(argv[1])) : 750;
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("tollgram-obj-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const auto file = tollgram::tools::writeSculptObj(directory.string(), side);
    const double megabytes = double(file.bytes) / 1e6;
    std::printf("file: %.1f MB, %u vertices (v/vt/vn), %u quads\n", megabytes, file.vertices, file.faces);
    countLines(file.objPath);  // into the page cache

    const std::string dir = directory.string() + "/";
    // Round after round, every reader once per round, each keeping its best
    // time: a busy machine then slows all of them alike, and the ratios hold.
    Figures lines, model, sscanf, tinyobj;
    for (int round = 0; round < 3; ++round) {
        measureOnce(lines, [&] { return countLines(file.objPath); });
        measureOnce(model, [&] { return readWithModel(file.objPath); });
        measureOnce(sscanf, [&] { return readWithSscanf(file.objPath); });
        measureOnce(tinyobj, [&] { return readWithTinyobj(file.objPath, dir); });
        measureOnce(model, [&] { return readWithModel(file.objPath); });
    }

    auto report = [&](const char* name, const Figures& f) {
        std::printf("%-28s %8.1f MB/s  %7.3f s  peak +%6.1f MiB  (%zu)\n", name, megabytes / f.seconds, f.seconds,
                    double(f.peakKiB) / 1024.0, f.faces);
    };
    report("line-end scan (floor)", lines);
    report("OBJModel::readOBJ", model);
    report("fgets + sscanf", sscanf);
    report("tinyobjloader (no triang.)", tinyobj);
    std::printf("readOBJ vs fgets+sscanf: %.1fx (goal 10x); vs tinyobjloader: %.1fx (goal 5x)\n",
                sscanf.seconds / model.seconds, tinyobj.seconds / model.seconds);

    std::filesystem::remove_all(directory);
    const bool facesAgree = model.faces == file.faces && sscanf.faces == file.faces && tinyobj.faces == file.faces;
    if (!facesAgree) std::printf("face counts disagree\n");
    return facesAgree ? 0 : 1;
}
