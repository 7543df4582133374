#pragma once
// The text of an OBJ scene written object by object, as exporters write
// scenes: each part's "v", "vt" and "vn" lines and then its faces, so that
// every array of the model grows a little at a time, interleaved with the
// others. Each part is a grid of side × side corners in two triangles per
// cell; offset moves every position, for a second file of the same shape.
#include <cstdio>
#include <string>

namespace tollgram::test {

struct SceneShape {
    int parts;
    int side;
    unsigned vertexCount() const { return unsigned(parts) * unsigned(side) * unsigned(side); }
};

inline std::string objectByObjectScene(SceneShape shape, float offset) {
    std::string text;
    char line[160];
    auto add = [&](int length) {
        if (length > 0) text.append(line, static_cast<size_t>(length));
    };
    unsigned first = 1;  // the part's first vertex, one-based
    const auto side = static_cast<unsigned>(shape.side);
    for (int part = 0; part < shape.parts; ++part) {
        add(std::snprintf(line, sizeof line, "g part%d\n", part));
        for (unsigned row = 0; row < side; ++row) {
            for (unsigned col = 0; col < side; ++col) {
                add(std::snprintf(line, sizeof line, "v %.3f %.3f %.3f\nvt %.4f %.4f\nvn 0 0 1\n",
                                  double(col) + offset, double(row) + offset, double(part) * 0.5,
                                  double(col) / side, double(row) / side));
            }
        }
        for (unsigned row = 0; row + 1 < side; ++row) {
            for (unsigned col = 0; col + 1 < side; ++col) {
                const unsigned a = first + row * side + col, b = a + 1, c = a + side, d = c + 1;
                add(std::snprintf(line, sizeof line, "f %u/%u/%u %u/%u/%u %u/%u/%u\nf %u/%u/%u %u/%u/%u %u/%u/%u\n",
                                  a, a, a, b, b, b, d, d, d, a, a, a, d, d, d, c, c, c));
            }
        }
        first += side * side;
    }
    return text;
}

}  // namespace tollgram::test
