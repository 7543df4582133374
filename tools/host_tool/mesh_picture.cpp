#include "host_tool/mesh_picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "host_tool/counted.h"

namespace tollgram::host_tool {

namespace {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(float s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 normalized(Vec3 a) {
    const float length = std::sqrt(dot(a, a));
    return length > 0 ? (1.0f / length) * a : Vec3{};
}

constexpr float kPi = 3.14159265f;

// An orthographic camera: screen right, screen up, and towards the viewer.
struct Camera {
    Vec3 right, up, toward;
};

Camera cameraFor(const PictureView& view) {
    const float yaw = view.yawDegrees * kPi / 180.0f, pitch = view.pitchDegrees * kPi / 180.0f;
    Camera camera;
    camera.toward = {std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch)};
    camera.right = normalized({camera.toward.z, 0.0f, -camera.toward.x});
    camera.up = cross(camera.toward, camera.right);
    return camera;
}

Vec3 positionOf(const SceneMesh& mesh, uint32_t v) {
    return {mesh.positions[3 * size_t{v}], mesh.positions[3 * size_t{v} + 1], mesh.positions[3 * size_t{v} + 2]};
}

// A vertex on the screen: pixel position and depth (larger is nearer).
struct ScreenPoint {
    float x, y, depth;
};

Rgb shaded(Rgb colour, float shade) {
    auto channel = [shade](uint8_t c) { return static_cast<uint8_t>(std::lround(std::clamp(c * shade, 0.0f, 255.0f))); };
    return {channel(colour.r), channel(colour.g), channel(colour.b)};
}

// One view drawn into its square of the picture.
class PanelPainter {
public:
    PanelPainter(RasterImage& image, const PicturePanel& panel, const SceneMesh& mesh, const HostSnapshot& snapshot,
                 const Camera& camera)
        : image_(image), panel_(panel), mesh_(mesh), snapshot_(snapshot), camera_(camera),
          depth_(static_cast<size_t>(panel.size) * panel.size, -std::numeric_limits<float>::infinity()),
          outlined_(depth_.size(), false) {
        project();
    }

    // Paints the view; false when the mesh is seen edge-on, its faces
    // covering no area, and is drawn as the line it makes instead.
    bool paint() {
        fillFaces();
        const bool edgeOn = filledPixels_ < static_cast<size_t>(panel_.size) && !mesh_.polygons.empty();
        if (edgeOn) {
            drawEdgeOn();
        } else if (averageEdgePixels() >= 8.0f) {
            outlineVisibleEdges();
        }
        drawVisibleCreases();
        return !edgeOn;
    }

private:
    void project() {
        const size_t count = mesh_.positions.size() / 3;
        std::vector<Vec3> viewed(count);
        float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                       std::numeric_limits<float>::max()};
        float hi[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                       std::numeric_limits<float>::lowest()};
        for (size_t v = 0; v < count; ++v) {
            const Vec3 p = positionOf(mesh_, static_cast<uint32_t>(v));
            viewed[v] = {dot(p, camera_.right), dot(p, camera_.up), dot(p, camera_.toward)};
            const float c[3] = {viewed[v].x, viewed[v].y, viewed[v].z};
            for (int axis = 0; axis < 3; ++axis) {
                lo[axis] = std::min(lo[axis], c[axis]);
                hi[axis] = std::max(hi[axis], c[axis]);
            }
        }
        const float span = std::max({hi[0] - lo[0], hi[1] - lo[1], 1e-6f});
        const float scale = 0.88f * static_cast<float>(panel_.size) / span;
        const float half = 0.5f * static_cast<float>(panel_.size);
        points_.resize(count);
        for (size_t v = 0; v < count; ++v) {
            points_[v] = {half + (viewed[v].x - 0.5f * (lo[0] + hi[0])) * scale,
                          half - (viewed[v].y - 0.5f * (lo[1] + hi[1])) * scale, viewed[v].z};
        }
        // Lines count as visible within a small depth distance of the
        // surface they lie on; the far side of a body lies much deeper.
        depthSlack_ = count > 0 ? 0.02f * std::max(hi[2] - lo[2], 1e-6f) : 0.0f;
    }

    bool usable(const std::vector<uint32_t>& polygon) const {
        for (uint32_t v : polygon)
            if (v >= points_.size()) return false;
        return polygon.size() >= 3;
    }

    // Lambert shading from a light a little above and left of the viewer;
    // both sides of a face are lit alike, so a mesh wound either way looks
    // the same.
    float shadeOf(const std::vector<uint32_t>& polygon) const {
        Vec3 normal;
        for (size_t c = 0; c < polygon.size(); ++c) {
            const Vec3 a = positionOf(mesh_, polygon[c]), b = positionOf(mesh_, polygon[(c + 1) % polygon.size()]);
            normal = normal + cross(a, b);  // Newell's normal: sound for any planar or near-planar polygon
        }
        const Vec3 light = normalized(-0.3f * camera_.right + 0.45f * camera_.up + camera_.toward);
        return 0.35f + 0.65f * std::fabs(dot(normalized(normal), light));
    }

    uint8_t maskOf(uint32_t v) const { return v < snapshot_.maskBytes.size() ? snapshot_.maskBytes[v] : 0; }

    Rgb cornerColour(uint32_t v, float shade) const {
        return shaded(maskOf(v) != 0 ? maskColour(maskOf(v)) : picture_colour::kUnmasked, shade);
    }

    // The mask is a value per vertex, so each face is divided among its
    // corners (by its centre and the middles of its edges) and each part is
    // coloured by its own corner: a value covers the faces around the
    // vertices holding it by their share, never a face more.
    void fillFaces() {
        for (const auto& polygon : mesh_.polygons) {
            if (!usable(polygon)) continue;
            const float shade = shadeOf(polygon);
            const size_t n = polygon.size();
            ScreenPoint centre{0, 0, 0};
            for (uint32_t v : polygon) centre = {centre.x + points_[v].x, centre.y + points_[v].y, centre.depth + points_[v].depth};
            centre = {centre.x / static_cast<float>(n), centre.y / static_cast<float>(n), centre.depth / static_cast<float>(n)};
            for (size_t c = 0; c < n; ++c) {
                const ScreenPoint& corner = points_[polygon[c]];
                const ScreenPoint next = midpoint(corner, points_[polygon[(c + 1) % n]]);
                const ScreenPoint previous = midpoint(corner, points_[polygon[(c + n - 1) % n]]);
                const Rgb colour = cornerColour(polygon[c], shade);
                fillTriangle(corner, next, centre, colour);
                fillTriangle(corner, centre, previous, colour);
            }
        }
    }

    static ScreenPoint midpoint(const ScreenPoint& a, const ScreenPoint& b) {
        return {0.5f * (a.x + b.x), 0.5f * (a.y + b.y), 0.5f * (a.depth + b.depth)};
    }

    void fillTriangle(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, Rgb colour) {
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::fabs(area) < 1e-9f) return;
        const int minX = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int maxX = std::min(panel_.size - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int minY = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int maxY = std::min(panel_.size - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = minY; y <= maxY; ++y) {
            for (int x = minX; x <= maxX; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                const float w0 = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const float w1 = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const float w2 = 1.0f - w0 - w1;
                // A hair of slack closes the seams between neighbouring triangles.
                if (w0 < -1e-5f || w1 < -1e-5f || w2 < -1e-5f) continue;
                const float z = w0 * a.depth + w1 * b.depth + w2 * c.depth;
                float& nearest = depth_[static_cast<size_t>(y) * panel_.size + x];
                if (z <= nearest) continue;
                if (!std::isfinite(nearest)) ++filledPixels_;
                nearest = z;
                image_.set(panel_.left + x, panel_.top + y, colour);
            }
        }
    }

    // A flat mesh seen edge-on: each edge drawn as a thick line, each half
    // in the colour of the corner it starts from, the nearest in front.
    void drawEdgeOn() {
        for (const auto& polygon : mesh_.polygons) {
            if (!usable(polygon)) continue;
            const float shade = shadeOf(polygon);
            for (size_t c = 0; c < polygon.size(); ++c) {
                const uint32_t from = polygon[c], to = polygon[(c + 1) % polygon.size()];
                const ScreenPoint middle = midpoint(points_[from], points_[to]);
                drawNearest(points_[from], middle, cornerColour(from, shade));
                drawNearest(points_[to], middle, cornerColour(to, shade));
            }
        }
    }

    void drawNearest(const ScreenPoint& a, const ScreenPoint& b, Rgb colour) {
        visibleLine(a, b, 3, [this, colour](int x, int y, float z) {
            float& nearest = depth_[static_cast<size_t>(y) * panel_.size + x];
            if (z < nearest) return;
            nearest = z;
            image_.set(panel_.left + x, panel_.top + y, colour);
        });
    }

    float averageEdgePixels() const {
        double total = 0;
        size_t edges = 0;
        for (const auto& polygon : mesh_.polygons) {
            if (!usable(polygon)) continue;
            for (size_t c = 0; c < polygon.size(); ++c) {
                const ScreenPoint& a = points_[polygon[c]];
                const ScreenPoint& b = points_[polygon[(c + 1) % polygon.size()]];
                total += std::hypot(b.x - a.x, b.y - a.y);
                ++edges;
            }
        }
        return edges ? static_cast<float>(total / static_cast<double>(edges)) : 0.0f;
    }

    // Calls plot(x, y, depth) for the pixels of the line from a to b that are not
    // behind the surface drawn there.
    template <typename Plot>
    void visibleLine(const ScreenPoint& a, const ScreenPoint& b, int thickness, Plot plot) {
        const int steps = std::max(1, static_cast<int>(std::ceil(std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y)))));
        for (int i = 0; i <= steps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            const float z = a.depth + (b.depth - a.depth) * t;
            const int x0 = static_cast<int>(std::floor(a.x + (b.x - a.x) * t - 0.5f * static_cast<float>(thickness - 1)));
            const int y0 = static_cast<int>(std::floor(a.y + (b.y - a.y) * t - 0.5f * static_cast<float>(thickness - 1)));
            for (int dy = 0; dy < thickness; ++dy) {
                for (int dx = 0; dx < thickness; ++dx) {
                    const int x = x0 + dx, y = y0 + dy;
                    if (x < 0 || y < 0 || x >= panel_.size || y >= panel_.size) continue;
                    if (z < depth_[static_cast<size_t>(y) * panel_.size + x] - depthSlack_) continue;
                    plot(x, y, z);
                }
            }
        }
    }

    // Polygon edges, when polygons are large enough on the screen to tell
    // apart, as a darker shade of the surface under them (once per pixel).
    void outlineVisibleEdges() {
        for (const auto& polygon : mesh_.polygons) {
            if (!usable(polygon)) continue;
            for (size_t c = 0; c < polygon.size(); ++c) {
                visibleLine(points_[polygon[c]], points_[polygon[(c + 1) % polygon.size()]], 1, [this](int x, int y, float) {
                    const size_t i = static_cast<size_t>(y) * panel_.size + x;
                    if (outlined_[i] || !std::isfinite(depth_[i])) return;
                    outlined_[i] = true;
                    image_.set(panel_.left + x, panel_.top + y, shaded(image_.at(panel_.left + x, panel_.top + y), 0.72f));
                });
            }
        }
    }

    // The edges whose crease bits are set: edge j of polygon p runs from
    // corner j to corner j + 1 and has bits 2j and 2j + 1; only edges 0 to 3
    // have bits.
    void drawVisibleCreases() {
        for (size_t p = 0; p < mesh_.polygons.size() && p < snapshot_.creaseBytes.size(); ++p) {
            const auto& polygon = mesh_.polygons[p];
            if (!usable(polygon)) continue;
            for (size_t edge = 0; edge < 4 && edge < polygon.size(); ++edge) {
                if (((snapshot_.creaseBytes[p] >> (2 * edge)) & 3u) == 0) continue;
                visibleLine(points_[polygon[edge]], points_[polygon[(edge + 1) % polygon.size()]], 2,
                            [this](int x, int y, float) { image_.set(panel_.left + x, panel_.top + y, picture_colour::kCrease); });
            }
        }
    }

    RasterImage& image_;
    const PicturePanel& panel_;
    const SceneMesh& mesh_;
    const HostSnapshot& snapshot_;
    const Camera camera_;
    std::vector<ScreenPoint> points_;
    std::vector<float> depth_;
    std::vector<bool> outlined_;
    float depthSlack_ = 0;
    size_t filledPixels_ = 0;
};

constexpr int kGap = 12;
constexpr int kTitleHeight = 26;
constexpr int kLegendLine = 22;
constexpr size_t kMaskValuesShown = 4;

// "group "badge"", "groups "frame" and "panel"": the groups a legend line names.
std::string groupList(const std::vector<std::string>& names) {
    if (names.empty()) return {};
    std::string text = names.size() == 1 ? "group " : "groups ";
    const size_t shown = std::min<size_t>(names.size(), 3);
    for (size_t i = 0; i < shown; ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    if (names.size() > shown) text += " and " + std::to_string(names.size() - shown) + " more";
    return " (" + text + ")";
}

void swatch(RasterImage& image, int left, int top, Rgb colour) {
    image.fillRectangle(left, top, 16, 14, colour);
}

std::map<int, size_t> maskedVertices(const HostSnapshot& snapshot) {
    std::map<int, size_t> masked;  // mask value -> vertices
    for (uint8_t value : snapshot.maskBytes)
        if (value != 0) ++masked[value];
    return masked;
}

int legendLines(const HostSnapshot& snapshot) {
    const size_t values = maskedVertices(snapshot).size();
    const size_t maskLines = values == 0 ? 1 : std::min(values, kMaskValuesShown) + (values > kMaskValuesShown ? 1 : 0);
    return static_cast<int>(maskLines) + 3;
}

void drawLegend(RasterImage& image, int top, const SceneMesh& mesh, const HostSnapshot& snapshot,
                const ShapedGroups& groups) {
    const std::map<int, size_t> masked = maskedVertices(snapshot);
    int y = top;
    const int textLeft = kGap + 24;
    if (masked.empty()) {
        swatch(image, kGap, y, picture_colour::kUnmasked);
        image.drawText(textLeft, y, "no vertex has a mask value (grey: mask 0)", picture_colour::kText);
        y += kLegendLine;
    } else {
        size_t shown = 0;
        for (const auto& [value, count] : masked) {
            if (shown++ == kMaskValuesShown) {
                image.drawText(textLeft, y, "and " + std::to_string(masked.size() - kMaskValuesShown) + " more values",
                               picture_colour::kText);
                y += kLegendLine;
                break;
            }
            swatch(image, kGap, y, maskColour(static_cast<uint8_t>(value)));
            const auto names = groups.masked.find(value);
            const std::string text = "mask " + std::to_string(value) + ": " + counted(count, "vertex", "vertices") +
                                     (names == groups.masked.end() ? "" : groupList(names->second));
            image.drawText(textLeft, y, text, picture_colour::kText);
            y += kLegendLine;
        }
    }
    size_t edges = 0, polygons = 0;
    for (uint8_t bits : snapshot.creaseBytes) {
        edges += static_cast<size_t>(creaseEdgesIn(bits));
        polygons += bits != 0 ? 1 : 0;
    }
    swatch(image, kGap, y, picture_colour::kCrease);
    image.drawText(textLeft, y,
                   edges == 0 ? std::string("no crease edges")
                              : "crease: " + counted(edges, "edge", "edges") + " on " +
                                    counted(polygons, "polygon", "polygons") + groupList(groups.creased),
                   picture_colour::kText);
    y += kLegendLine;
    image.drawText(kGap, y, "each face coloured corner by corner: the part nearest a vertex in its mask colour",
                   picture_colour::kText);
    y += kLegendLine;
    image.drawText(kGap, y,
                   counted(mesh.positions.size() / 3, "vertex", "vertices") + ", " +
                       counted(mesh.polygons.size(), "polygon", "polygons") + ", " +
                       counted(mesh.groupNames.size(), "group", "groups") +
                       "; shaded by the angle to the light; lines only where visible",
                   picture_colour::kText);
}

}  // namespace

Rgb maskColour(uint8_t maskValue) {
    const float t = static_cast<float>(maskValue - 1) / 254.0f;
    auto mix = [t](uint8_t faint, uint8_t full) {
        return static_cast<uint8_t>(std::lround(static_cast<float>(faint) + (static_cast<float>(full) - faint) * t));
    };
    return {mix(picture_colour::kMaskFaint.r, picture_colour::kMaskFull.r),
            mix(picture_colour::kMaskFaint.g, picture_colour::kMaskFull.g),
            mix(picture_colour::kMaskFaint.b, picture_colour::kMaskFull.b)};
}

MeshPicture drawMesh(const SceneMesh& mesh, const HostSnapshot& snapshot, const ShapedGroups& groups, int panelSize) {
    MeshPicture picture;
    const int width = 3 * panelSize + 4 * kGap;
    const int height = kTitleHeight + panelSize + kGap + legendLines(snapshot) * kLegendLine + kGap;
    picture.image = RasterImage(width, height, picture_colour::kBackground);
    for (size_t i = 0; i < kPictureViews.size(); ++i) {
        PicturePanel& panel = picture.panels[i];
        panel = {kGap + static_cast<int>(i) * (panelSize + kGap), kTitleHeight, panelSize};
        const bool faced = PanelPainter(picture.image, panel, mesh, snapshot, cameraFor(kPictureViews[i])).paint();
        picture.edgeOn[i] = !faced;
        const std::string title = std::string(kPictureViews[i].title) + (faced ? "" : ", seen edge-on");
        picture.image.drawText(panel.left, 6, title, picture_colour::kText);
    }
    drawLegend(picture.image, kTitleHeight + panelSize + kGap, mesh, snapshot, groups);
    return picture;
}

}  // namespace tollgram::host_tool
