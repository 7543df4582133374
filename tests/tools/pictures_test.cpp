// The pictures show what they claim: on generated closed meshes the mask
// covers what is masked, hidden creases stay hidden, and the thumbnail's
// preview is what the library wrote, read by an independent reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "host_tool/mesh_picture.h"
#include "host_tool/pictures.h"
#include "host_tool/plugin_library.h"
#include "stb_image.h"
#include "substitute_host/substitute_host.h"
#include "support/temp_folder.h"

namespace tollgram::host_tool {
namespace {

// A cube from -1 to 1 with each side cut into n × n quads sharing their
// vertices; quads of the side facing -Z whose cell lies within patch (in
// cells from its centre) are listed in backPatch, those facing +Z in frontPatch.
struct Cube {
    SceneMesh mesh;
    std::vector<size_t> frontPatch, backPatch;
};

Cube cube(int n, int patch) {
    Cube cube;
    std::map<std::tuple<int, int, int>, uint32_t> vertexAt;
    auto vertex = [&](int i, int j, int k) {
        const auto key = std::make_tuple(i, j, k);
        auto found = vertexAt.find(key);
        if (found != vertexAt.end()) return found->second;
        const auto index = static_cast<uint32_t>(cube.mesh.positions.size() / 3);
        for (int c : {i, j, k}) cube.mesh.positions.push_back(2.0f * static_cast<float>(c) / static_cast<float>(n) - 1.0f);
        vertexAt.emplace(key, index);
        return index;
    };
    // Each side: the axis it faces along, its sign, and the two axes across it.
    for (int axis = 0; axis < 3; ++axis) {
        for (int side : {0, n}) {
            for (int a = 0; a < n; ++a) {
                for (int b = 0; b < n; ++b) {
                    auto corner = [&](int da, int db) {
                        int c[3];
                        c[axis] = side;
                        c[(axis + 1) % 3] = a + da;
                        c[(axis + 2) % 3] = b + db;
                        return vertex(c[0], c[1], c[2]);
                    };
                    cube.mesh.polygons.push_back({corner(0, 0), corner(1, 0), corner(1, 1), corner(0, 1)});
                    const bool central = std::abs(2 * a + 1 - n) < 2 * patch && std::abs(2 * b + 1 - n) < 2 * patch;
                    if (axis == 2 && central) (side == 0 ? cube.backPatch : cube.frontPatch).push_back(cube.mesh.polygons.size() - 1);
                }
            }
        }
    }
    cube.mesh.groupNames = {"cube"};
    return cube;
}

HostSnapshot plainSnapshot(const SceneMesh& mesh) {
    HostSnapshot snapshot;
    snapshot.maskBytes.assign(mesh.positions.size() / 3, 0);
    snapshot.creaseBytes.assign(mesh.polygons.size(), 0);
    return snapshot;
}

// A shade of the mask colour: warm and saturated, where the unmasked grey
// and the crease blue are neither.
bool inMaskColour(Rgb p) { return p.r > p.g && p.g > p.b && p.r - p.b > 60; }

struct Coverage {
    size_t covered = 0, masked = 0;
    double share() const { return covered ? static_cast<double>(masked) / static_cast<double>(covered) : 0.0; }
};

Coverage coverageOf(const MeshPicture& picture, size_t panel) {
    Coverage coverage;
    const PicturePanel& area = picture.panels[panel];
    for (int y = area.top; y < area.top + area.size; ++y) {
        for (int x = area.left; x < area.left + area.size; ++x) {
            const Rgb p = picture.image.at(x, y);
            if (p == picture_colour::kBackground) continue;
            ++coverage.covered;
            if (inMaskColour(p)) ++coverage.masked;
        }
    }
    return coverage;
}

size_t pixelsDiffering(const MeshPicture& a, const MeshPicture& b, size_t panel, size_t* creasePixels = nullptr) {
    size_t differing = 0;
    const PicturePanel& area = a.panels[panel];
    for (int y = area.top; y < area.top + area.size; ++y) {
        for (int x = area.left; x < area.left + area.size; ++x) {
            if (a.image.at(x, y) == b.image.at(x, y)) continue;
            ++differing;
            if (creasePixels && b.image.at(x, y) == picture_colour::kCrease) ++*creasePixels;
        }
    }
    return differing;
}

TEST(MeshPicture, AFullyMaskedClosedMeshShowsTheMaskColourOnItsVisibleSurface) {
    for (int n : {2, 8, 40}) {  // from large faces with outlines to faces a few pixels wide
        const Cube shape = cube(n, 0);
        HostSnapshot snapshot = plainSnapshot(shape.mesh);
        const MeshPicture unmasked = drawMesh(shape.mesh, snapshot);
        snapshot.maskBytes.assign(snapshot.maskBytes.size(), 255);
        const MeshPicture masked = drawMesh(shape.mesh, snapshot);
        for (size_t panel = 0; panel < kPictureViews.size(); ++panel) {
            const Coverage full = coverageOf(masked, panel), none = coverageOf(unmasked, panel);
            std::printf("cube %dx%d, %s: %zu covered pixels, %.2f%% in the mask colour (unmasked: %.2f%%)\n", n, n,
                        kPictureViews[panel].title, full.covered, 100.0 * full.share(), 100.0 * none.share());
            EXPECT_GT(full.covered, 20000u) << kPictureViews[panel].title;
            EXPECT_GE(full.share(), 0.90) << kPictureViews[panel].title << " n=" << n;
            EXPECT_EQ(none.masked, 0u) << kPictureViews[panel].title;
            EXPECT_EQ(none.covered, full.covered) << "the mask changed the outline";
        }
    }
}

TEST(MeshPicture, ARealClosedMeshFullyMaskedLooksMasked) {
    // A sculpted body of some thousand vertices, the case where drawing
    // every edge over the fill once made a masked mesh look grey.
    SceneMesh spot;
    std::string error;
    ASSERT_TRUE(readSceneMesh(std::string(TOLLGRAM_CORPUS_DIR) + "/common-3d-test-models/spot.obj", spot, error)) << error;
    HostSnapshot snapshot = plainSnapshot(spot);
    snapshot.maskBytes.assign(snapshot.maskBytes.size(), 255);
    const MeshPicture picture = drawMesh(spot, snapshot);
    for (size_t panel = 0; panel < kPictureViews.size(); ++panel) {
        const Coverage seen = coverageOf(picture, panel);
        std::printf("spot (%zu vertices), %s: %zu covered pixels, %.2f%% in the mask colour\n", spot.positions.size() / 3,
                    kPictureViews[panel].title, seen.covered, 100.0 * seen.share());
        EXPECT_GE(seen.share(), 0.90) << kPictureViews[panel].title;
    }
}

// An 8 × 8 cube with the faces of the middle 4 × 4 of its front masked.
MeshPicture frontPatchMasked(uint8_t maskValue) {
    const Cube shape = cube(8, 2);
    HostSnapshot snapshot = plainSnapshot(shape.mesh);
    for (size_t polygon : shape.frontPatch)
        for (uint32_t v : shape.mesh.polygons[polygon]) snapshot.maskBytes[v] = maskValue;
    return drawMesh(shape.mesh, snapshot);
}

TEST(MeshPicture, AMaskedGroupIsColouredWhereItIsAndNowhereElse) {
    const MeshPicture picture = frontPatchMasked(200);
    const PicturePanel& front = picture.panels[0];
    // The patch is the middle 4 × 4 of 8 × 8 cells: the centre of the front
    // view is masked, a point near the edge of the side is not.
    EXPECT_TRUE(inMaskColour(picture.image.at(front.left + front.size / 2, front.top + front.size / 2)));
    EXPECT_FALSE(inMaskColour(picture.image.at(front.left + front.size / 8, front.top + front.size / 2)));
    const Coverage seen = coverageOf(picture, 0);
    std::printf("front patch of 16 of 64 cells masked: %.2f%% of the front view in the mask colour\n", 100.0 * seen.share());
    // The masked vertices span 5 of 8 cells each way; the colour reaches
    // halfway to the unmasked ones: (4 + 1)² / 8² of the side, 39%.
    EXPECT_GT(seen.share(), 0.33);
    EXPECT_LT(seen.share(), 0.45);
    // From the side the front is seen edge on: hardly any of it.
    EXPECT_LT(coverageOf(picture, 1).share(), 0.02);
}

// A strip of quads in the plane facing +Z, (columns + 1) × 2 vertices;
// quad k has the vertices of columns k and k + 1.
SceneMesh strip(int columns) {
    SceneMesh mesh;
    for (int column = 0; column <= columns; ++column) {
        for (int row = 0; row < 2; ++row) {
            mesh.positions.insert(mesh.positions.end(), {static_cast<float>(column), static_cast<float>(row), 0.0f});
        }
    }
    for (uint32_t k = 0; k < static_cast<uint32_t>(columns); ++k) mesh.polygons.push_back({2 * k, 2 * k + 2, 2 * k + 3, 2 * k + 1});
    mesh.groupNames = {"strip"};
    return mesh;
}

// The share of the covered pixels of a panel in each of two mask colours,
// told apart by their hue (green over red), which shading keeps.
std::map<uint8_t, double> maskShares(const MeshPicture& picture, size_t panel, uint8_t low, uint8_t high) {
    const Rgb lowColour = maskColour(low), highColour = maskColour(high);
    const double lowHue = double(lowColour.g) / lowColour.r, highHue = double(highColour.g) / highColour.r;
    size_t covered = 0, lowPixels = 0, highPixels = 0;
    const PicturePanel& area = picture.panels[panel];
    for (int y = area.top; y < area.top + area.size; ++y) {
        for (int x = area.left; x < area.left + area.size; ++x) {
            const Rgb p = picture.image.at(x, y);
            if (p == picture_colour::kBackground || p.r == 0) continue;
            ++covered;
            if (!inMaskColour(p)) continue;
            const double hue = double(p.g) / p.r;
            ++(std::fabs(hue - lowHue) < std::fabs(hue - highHue) ? lowPixels : highPixels);
        }
    }
    return {{low, double(lowPixels) / double(covered)}, {high, double(highPixels) / double(covered)}};
}

// The mask is a value per vertex: each value covers the faces around the
// vertices that hold it by their share, never a face where only some of
// its corners hold it. On a strip of four quads, the first masked 250 over
// the other three masked 50, the four vertices at 250 hold a quarter of
// quad 0 each and a quarter of quad 1 for two of them: 1.5 of 4 quads.
TEST(MeshPicture, EachMaskValueCoversTheFacesAroundItsVerticesByTheirShare) {
    const SceneMesh mesh = strip(4);
    HostSnapshot snapshot = plainSnapshot(mesh);
    for (size_t v = 2; v < 10; ++v) snapshot.maskBytes[v] = 50;
    for (size_t v = 0; v < 4; ++v) snapshot.maskBytes[v] = 250;
    const MeshPicture picture = drawMesh(mesh, snapshot);
    const auto shares = maskShares(picture, 0, 50, 250);
    std::printf("strip of 4 quads, 4 vertices at 250, 6 at 50: %.3f and %.3f of the front view\n", shares.at(250),
                shares.at(50));
    EXPECT_NEAR(shares.at(250), 1.5 / 4, 0.02);
    EXPECT_NEAR(shares.at(50), 2.5 / 4, 0.02);

    // Only the corners that hold a value show it: half of the strip's
    // vertices masked, one column end, covers a quarter of its end quad.
    HostSnapshot corner = plainSnapshot(mesh);
    corner.maskBytes[0] = corner.maskBytes[1] = 250;
    const auto cornerShares = maskShares(drawMesh(mesh, corner), 0, 50, 250);
    EXPECT_NEAR(cornerShares.at(250), 0.5 / 4, 0.01);
    EXPECT_EQ(cornerShares.at(50), 0.0);
}

// A flat mesh seen edge-on covers no area; it is drawn as the line it
// makes, in its vertices' colours, and the panel says so.
TEST(MeshPicture, AFlatMeshSeenEdgeOnIsDrawnAsALine) {
    const SceneMesh mesh = strip(4);
    HostSnapshot snapshot = plainSnapshot(mesh);
    snapshot.maskBytes.assign(snapshot.maskBytes.size(), 200);
    const MeshPicture picture = drawMesh(mesh, snapshot);
    EXPECT_FALSE(picture.edgeOn[0]);
    ASSERT_TRUE(picture.edgeOn[1]) << "from +X the strip in the plane facing +Z is edge-on";
    const PicturePanel& side = picture.panels[1];
    int left = side.size, right = -1, top = side.size, bottom = -1;
    size_t masked = 0, covered = 0;
    for (int y = 0; y < side.size; ++y) {
        for (int x = 0; x < side.size; ++x) {
            const Rgb p = picture.image.at(side.left + x, side.top + y);
            if (p == picture_colour::kBackground) continue;
            ++covered;
            masked += inMaskColour(p) ? 1 : 0;
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    std::printf("edge-on strip: %zu pixels, columns %d to %d, rows %d to %d\n", covered, left, right, top, bottom);
    EXPECT_LE(right - left, 4) << "a thin vertical line";
    EXPECT_GE(bottom - top, side.size * 8 / 10) << "as tall as the strip is seen";
    EXPECT_EQ(masked, covered);
}

TEST(MeshPicture, ACreaseOnTheFarSideLeavesTheNearViewsUntouched) {
    const Cube shape = cube(6, 1);
    const HostSnapshot plain = plainSnapshot(shape.mesh);
    const MeshPicture without = drawMesh(shape.mesh, plain);

    // The crease runs around the middle of the side facing -Z: behind the
    // body from the front and from three quarters. (From +X that side is
    // seen edge on, and the crease lies on the outline.)
    HostSnapshot back = plain;
    for (size_t polygon : shape.backPatch) back.creaseBytes[polygon] = 0xFF;
    const MeshPicture withBack = drawMesh(shape.mesh, back);
    for (size_t panel : {size_t{0}, size_t{2}}) {
        const size_t differing = pixelsDiffering(without, withBack, panel);
        std::printf("crease on the far side, %s: %zu pixels changed\n", kPictureViews[panel].title, differing);
        EXPECT_EQ(differing, 0u) << kPictureViews[panel].title;
    }

    // The same crease on the near side is drawn: the test can see a crease.
    HostSnapshot front = plain;
    for (size_t polygon : shape.frontPatch) front.creaseBytes[polygon] = 0xFF;
    const MeshPicture withFront = drawMesh(shape.mesh, front);
    size_t creasePixels = 0;
    const size_t differing = pixelsDiffering(without, withFront, 0, &creasePixels);
    std::printf("crease on the near side, front view: %zu pixels changed, %zu in the crease colour\n", differing,
                creasePixels);
    EXPECT_GT(creasePixels, 400u);
    EXPECT_EQ(creasePixels, differing);
}

TEST(PsdPreview, ShowsTheThumbnailTheLibraryWroteAsAnotherReaderReadsIt) {
    PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.open(TOLLGRAM_LIBRARY_FILE, error)) << error;
    substitute::SubstituteHost host;
    constexpr int kWidth = 40, kHeight = 24;
    std::vector<uint8_t> bgra(kWidth * kHeight * 4);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = &bgra[static_cast<size_t>(y * kWidth + x) * 4];
            p[0] = static_cast<uint8_t>(10 * y);      // blue
            p[1] = static_cast<uint8_t>(x ^ y);       // green
            p[2] = static_cast<uint8_t>(255 - 6 * x); // red
            p[3] = 7;
        }
    }
    host.setTexture(kWidth, kHeight, 32, bgra.data());
    test::TempFolder folder;
    const std::string psd = folder.at("thumb.psd"), png = folder.at("thumb.png");
    auto call = [&](const char* name, const char* text, double value) {
        return library.find(name)(text, value, nullptr, 0, 0, 0, host.context());
    };
    // The texture's own size: written as it is, no halving, thinning or margins.
    ASSERT_EQ(call("SetThumbnail", "width", kWidth), 0.0f);
    ASSERT_EQ(call("SetThumbnail", "height", kHeight), 0.0f);
    ASSERT_EQ(call("SaveTextureThumbnail", psd.c_str(), 0), 0.0f);
    ASSERT_TRUE(writePsdPreview(psd, png, error)) << error;

    int width = 0, height = 0, channels = 0;
    unsigned char* rgb = stbi_load(png.c_str(), &width, &height, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    size_t wrong = 0;
    for (size_t i = 0; i < static_cast<size_t>(kWidth * kHeight); ++i) {
        wrong += rgb[3 * i] != bgra[4 * i + 2] || rgb[3 * i + 1] != bgra[4 * i + 1] || rgb[3 * i + 2] != bgra[4 * i];
    }
    stbi_image_free(rgb);
    EXPECT_EQ(wrong, 0u);

    EXPECT_FALSE(writePsdPreview(folder.write("not.psd", "8BPS but not a document"), png, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

}  // namespace
}  // namespace tollgram::host_tool
