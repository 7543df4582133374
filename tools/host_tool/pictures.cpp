#include "host_tool/pictures.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include "stb_image_write.h"

namespace tollgram::host_tool {

namespace {

struct Canvas {
    int size;
    std::vector<unsigned char> rgb;
    std::vector<float> depth;
    explicit Canvas(int s)
        : size(s), rgb(static_cast<size_t>(s) * s * 3, 255), depth(static_cast<size_t>(s) * s, -std::numeric_limits<float>::infinity()) {}

    void plot(int x, int y, float z, const unsigned char colour[3], bool overDepth) {
        if (x < 0 || y < 0 || x >= size || y >= size) return;
        const size_t i = static_cast<size_t>(y) * size + x;
        if (!overDepth && z < depth[i]) return;
        if (!overDepth) depth[i] = z;
        std::copy(colour, colour + 3, rgb.begin() + static_cast<std::ptrdiff_t>(3 * i));
    }
};

struct Point {
    float x, y, z;
    float mask;  // 0 … 1
};

void maskColour(float mask, unsigned char out[3]) {
    const float grey[3] = {205, 205, 210}, orange[3] = {255, 125, 20};
    for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned char>(grey[c] + (orange[c] - grey[c]) * mask);
}

// Fills a triangle with depth test, colour interpolated by mask, and a
// little shading by depth so overlapping parts stay apart.
void fillTriangle(Canvas& canvas, const Point& a, const Point& b, const Point& c, float zMin, float zRange) {
    const int minX = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
    const int maxX = std::min(canvas.size - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
    const int minY = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
    const int maxY = std::min(canvas.size - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
    const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (std::fabs(area) < 1e-12f) return;
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            const float w0 = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
            const float w1 = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
            const float w2 = 1.0f - w0 - w1;
            // A little slack closes the hairline gaps between neighbouring triangles.
            if (w0 < -1e-4f || w1 < -1e-4f || w2 < -1e-4f) continue;
            const float z = w0 * a.z + w1 * b.z + w2 * c.z;
            unsigned char colour[3];
            maskColour(w0 * a.mask + w1 * b.mask + w2 * c.mask, colour);
            const float shade = 0.75f + 0.25f * (zRange > 0 ? (z - zMin) / zRange : 1.0f);
            for (unsigned char& channel : colour) channel = static_cast<unsigned char>(channel * shade);
            canvas.plot(x, y, z, colour, false);
        }
    }
}

void drawLine(Canvas& canvas, const Point& a, const Point& b, const unsigned char colour[3], int thickness) {
    const float length = std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y));
    const int steps = std::max(1, static_cast<int>(length));
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        const int x = static_cast<int>(a.x + (b.x - a.x) * t), y = static_cast<int>(a.y + (b.y - a.y) * t);
        for (int dy = 0; dy < thickness; ++dy)
            for (int dx = 0; dx < thickness; ++dx) canvas.plot(x + dx, y + dy, 0, colour, true);
    }
}

}  // namespace

bool drawMeshPicture(const SceneMesh& mesh, const HostSnapshot& snapshot, const std::string& pngPath,
                     std::string& error, int size) {
    const size_t vertexCount = mesh.positions.size() / 3;
    if (vertexCount == 0) {
        error = "the mesh has no vertices to draw";
        return false;
    }
    float lo[3], hi[3];
    for (int axis = 0; axis < 3; ++axis) {
        lo[axis] = std::numeric_limits<float>::max();
        hi[axis] = std::numeric_limits<float>::lowest();
    }
    for (size_t v = 0; v < vertexCount; ++v) {
        for (int axis = 0; axis < 3; ++axis) {
            lo[axis] = std::min(lo[axis], mesh.positions[3 * v + axis]);
            hi[axis] = std::max(hi[axis], mesh.positions[3 * v + axis]);
        }
    }
    const float span = std::max({hi[0] - lo[0], hi[1] - lo[1], 1e-6f});
    const float scale = static_cast<float>(size) * 0.9f / span;
    std::vector<Point> points(vertexCount);
    for (size_t v = 0; v < vertexCount; ++v) {
        const float mask = v < snapshot.maskBytes.size() ? snapshot.maskBytes[v] / 255.0f : 0.0f;
        points[v] = {static_cast<float>(size) * 0.5f + (mesh.positions[3 * v] - (lo[0] + hi[0]) * 0.5f) * scale,
                     static_cast<float>(size) * 0.5f - (mesh.positions[3 * v + 1] - (lo[1] + hi[1]) * 0.5f) * scale,
                     mesh.positions[3 * v + 2], mask};
    }
    Canvas canvas(size);
    for (const auto& polygon : mesh.polygons) {
        for (size_t c = 2; c < polygon.size(); ++c) {
            if (polygon[0] >= vertexCount || polygon[c - 1] >= vertexCount || polygon[c] >= vertexCount) continue;
            fillTriangle(canvas, points[polygon[0]], points[polygon[c - 1]], points[polygon[c]], lo[2], hi[2] - lo[2]);
        }
    }
    const unsigned char outline[3] = {150, 150, 158};
    for (const auto& polygon : mesh.polygons) {
        for (size_t c = 0; c < polygon.size(); ++c) {
            const uint32_t a = polygon[c], b = polygon[(c + 1) % polygon.size()];
            if (a < vertexCount && b < vertexCount) drawLine(canvas, points[a], points[b], outline, 1);
        }
    }
    const unsigned char red[3] = {220, 20, 30};
    for (size_t p = 0; p < mesh.polygons.size() && p < snapshot.creaseBytes.size(); ++p) {
        const auto& polygon = mesh.polygons[p];
        for (size_t edge = 0; edge < 4 && edge < polygon.size(); ++edge) {
            if (((snapshot.creaseBytes[p] >> (2 * edge)) & 3u) == 0) continue;
            const uint32_t a = polygon[edge], b = polygon[(edge + 1) % polygon.size()];
            if (a < vertexCount && b < vertexCount) drawLine(canvas, points[a], points[b], red, 2);
        }
    }
    if (!stbi_write_png(pngPath.c_str(), size, size, 3, canvas.rgb.data(), size * 3)) {
        error = "cannot write " + pngPath;
        return false;
    }
    return true;
}

namespace {
uint32_t bigEndian(const std::vector<unsigned char>& data, size_t at, size_t bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value = (value << 8) | data[at + i];
    return value;
}
}  // namespace

bool writePsdPreview(const std::string& psdPath, const std::string& pngPath, std::string& error) {
    std::ifstream file(psdPath, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (data.size() < 26 || bigEndian(data, 0, 4) != 0x38425053u) {  // "8BPS"
        error = psdPath + " is not a Photoshop document";
        return false;
    }
    const uint32_t channels = bigEndian(data, 12, 2), rows = bigEndian(data, 14, 4), columns = bigEndian(data, 18, 4);
    if (bigEndian(data, 22, 2) != 8 || channels == 0 || rows == 0 || columns == 0 || rows > 1u << 15 || columns > 1u << 15) {
        error = psdPath + ": only 8-bit documents of a sensible size have a preview";
        return false;
    }
    size_t at = 26;
    for (int section = 0; section < 3; ++section) {  // colour mode data, resources, layers
        if (data.size() < at + 4) break;
        at += 4 + bigEndian(data, at, 4);
    }
    const size_t plane = static_cast<size_t>(rows) * columns;
    if (data.size() < at + 2 || bigEndian(data, at, 2) != 0 || data.size() < at + 2 + plane * channels) {
        error = psdPath + ": only uncompressed, complete documents have a preview";
        return false;
    }
    const unsigned char* planes = data.data() + at + 2;
    std::vector<unsigned char> rgb(plane * 3);
    for (size_t i = 0; i < plane; ++i) {
        for (size_t c = 0; c < 3; ++c) rgb[3 * i + c] = planes[(channels >= 3 ? c : 0) * plane + i];
    }
    if (!stbi_write_png(pngPath.c_str(), static_cast<int>(columns), static_cast<int>(rows), 3, rgb.data(),
                        static_cast<int>(columns) * 3)) {
        error = "cannot write " + pngPath;
        return false;
    }
    return true;
}

}  // namespace tollgram::host_tool
