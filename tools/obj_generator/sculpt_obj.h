#pragma once
// Writes a deterministic sculpt-like OBJ file and its MTL library: a bumpy
// closed-ish surface of quads with v/vt/vn corners, split into groups,
// smoothing groups and materials the way sculpting tools export them. The same
// arguments always give the same bytes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace tollgram::tools {

struct SculptObj {
    std::string objPath;
    std::string mtlPath;
    uint64_t bytes = 0;
    uint32_t vertices = 0;
    uint32_t faces = 0;
};

// A grid of side × side vertices; side 750 gives about 100 MB.
inline SculptObj writeSculptObj(const std::string& directory, uint32_t side) {
    SculptObj out;
    out.objPath = directory + "/sculpt.obj";
    out.mtlPath = directory + "/sculpt.mtl";

    if (std::FILE* mtl = std::fopen(out.mtlPath.c_str(), "wb")) {
        const char* const names[] = {"skin", "cloth", "metal", "leather"};
        for (int i = 0; i < 4; ++i) {
            std::fprintf(mtl, "newmtl %s\nKa 0.1 0.1 0.1\nKd %.3f 0.5 0.4\nKs 0.2 0.2 0.2\nNs 32\nd 1\nillum 2\nmap_Kd %s.png\n\n",
                         names[i], 0.2 * (i + 1), names[i]);
        }
        std::fclose(mtl);
    }

    std::FILE* obj = std::fopen(out.objPath.c_str(), "wb");
    if (!obj) return out;
    std::fprintf(obj, "# sculpt-like test mesh, %u x %u vertices\nmtllib sculpt.mtl\n", side, side);
    uint32_t noise = 12345u;
    auto next = [&noise] {
        noise = noise * 1664525u + 1013904223u;
        return double(noise >> 8) / double(1u << 24) - 0.5;
    };
    const double pi = 3.14159265358979323846;
    for (uint32_t row = 0; row < side; ++row) {
        const double theta = pi * (row + 0.5) / side;
        for (uint32_t col = 0; col < side; ++col) {
            const double phi = 2 * pi * col / side;
            const double r = 1.0 + 0.02 * std::sin(7 * phi) * std::cos(5 * theta) + 0.004 * next();
            const double x = r * std::sin(theta) * std::cos(phi);
            const double y = r * std::cos(theta);
            const double z = r * std::sin(theta) * std::sin(phi);
            std::fprintf(obj, "v %.6f %.6f %.6f\n", x, y, z);
        }
    }
    for (uint32_t row = 0; row < side; ++row) {
        for (uint32_t col = 0; col < side; ++col) {
            std::fprintf(obj, "vt %.6f %.6f\n", double(col) / (side - 1), double(row) / (side - 1));
        }
    }
    for (uint32_t row = 0; row < side; ++row) {
        const double theta = pi * (row + 0.5) / side;
        for (uint32_t col = 0; col < side; ++col) {
            const double phi = 2 * pi * col / side;
            std::fprintf(obj, "vn %.6f %.6f %.6f\n", std::sin(theta) * std::cos(phi), std::cos(theta),
                         std::sin(theta) * std::sin(phi));
        }
    }
    const char* const groups[] = {"head", "torso", "arms", "legs", "feet", "hands"};
    const char* const materials[] = {"skin", "cloth", "metal", "leather"};
    const uint32_t bands = 6;
    for (uint32_t row = 0; row + 1 < side; ++row) {
        const uint32_t band = row * bands / (side - 1);
        if (row == 0 || band != (row - 1) * bands / (side - 1)) {
            std::fprintf(obj, "g %s\nusemtl %s\n", groups[band], materials[band % 4]);
        }
        if (row % 37 == 0) std::fprintf(obj, "s %u\n", row / 37 % 12 + 1);
        for (uint32_t col = 0; col + 1 < side; ++col) {
            const uint32_t a = row * side + col + 1;
            const uint32_t b = a + 1;
            const uint32_t c = b + side;
            const uint32_t d = a + side;
            std::fprintf(obj, "f %u/%u/%u %u/%u/%u %u/%u/%u %u/%u/%u\n", a, a, a, b, b, b, c, c, c, d, d, d);
            ++out.faces;
        }
    }
    out.bytes = uint64_t(std::ftell(obj));
    std::fclose(obj);
    out.vertices = side * side;
    return out;
}

}  // namespace tollgram::tools
