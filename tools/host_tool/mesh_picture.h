#pragma once
// The host mesh as a person would look at it: filled, shaded faces drawn
// with a depth buffer, the mask as colour around the vertices that hold it,
// creases only where they can be seen, from the front, the side and three
// quarters, with a legend of colours and counts.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "host_tool/host_report.h"
#include "host_tool/raster_image.h"
#include "host_tool/scene.h"

namespace tollgram::host_tool {

// The colours of the picture. Surfaces are shaded (darker where they turn
// away from the light); the background and the crease lines are not.
namespace picture_colour {
inline constexpr Rgb kBackground{255, 255, 255};
inline constexpr Rgb kUnmasked{200, 200, 204};
inline constexpr Rgb kMaskFull{255, 110, 0};   // mask value 255
inline constexpr Rgb kMaskFaint{250, 205, 160};  // mask value 1
inline constexpr Rgb kCrease{20, 90, 235};
inline constexpr Rgb kText{40, 40, 40};
}  // namespace picture_colour

// The surface colour around a vertex with this mask value, before shading.
Rgb maskColour(uint8_t maskValue);

// The groups the run masked (by the mask value they were given) and
// creased, named in the legend: "badge" (quoted), smoothing group 3.
struct ShapedGroups {
    std::map<int, std::vector<std::string>> masked;
    std::vector<std::string> creased;
};

struct PictureView {
    const char* title;
    float yawDegrees;    // about the vertical axis, from the front (+Z) towards +X
    float pitchDegrees;  // from above
};

inline constexpr std::array<PictureView, 3> kPictureViews{{
    {"front (from +Z)", 0.0f, 0.0f},
    {"side (from +X)", 90.0f, 0.0f},
    {"three-quarter", 40.0f, 25.0f},
}};

struct PicturePanel {
    int left = 0, top = 0, size = 0;  // a square of the image
};

struct MeshPicture {
    RasterImage image;
    std::array<PicturePanel, 3> panels;  // in the order of kPictureViews
    std::array<bool, 3> edgeOn{};        // a flat mesh seen edge-on, drawn as its line
};

// Draws mesh with the mask bytes and crease bytes of snapshot, each view in
// a panel of panelSize pixels square, with a legend that names groups.
MeshPicture drawMesh(const SceneMesh& mesh, const HostSnapshot& snapshot, const ShapedGroups& groups = {},
                     int panelSize = 360);

}  // namespace tollgram::host_tool
