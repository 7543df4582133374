#include "host_tool/raster_image.h"

#include <algorithm>
#include <cmath>

#include "stb_easy_font.h"

namespace tollgram::host_tool {

RasterImage::RasterImage(int w, int h, Rgb fill) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3) {
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = fill.r;
        rgb[i + 1] = fill.g;
        rgb[i + 2] = fill.b;
    }
}

Rgb RasterImage::at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void RasterImage::set(int x, int y, Rgb colour) {
    if (!contains(x, y)) return;
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    rgb[i] = colour.r;
    rgb[i + 1] = colour.g;
    rgb[i + 2] = colour.b;
}

void RasterImage::fillRectangle(int left, int top, int w, int h, Rgb colour) {
    for (int y = std::max(top, 0); y < std::min(top + h, height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + w, width); ++x) set(x, y, colour);
}

namespace {
// stb_easy_font's vertex: x, y, z and four colour bytes; four make a quad.
struct FontVertex {
    float x, y, z;
    unsigned char colour[4];
};
static_assert(sizeof(FontVertex) == 16);
}  // namespace

void RasterImage::drawText(int left, int top, const std::string& text, Rgb colour, int scale) {
    std::vector<FontVertex> quads(text.size() * 80 + 16);
    std::string copy = text;  // the font takes a writable text
    const int count = stb_easy_font_print(0, 0, copy.data(), nullptr, quads.data(),
                                          static_cast<int>(quads.size() * sizeof(FontVertex)));
    for (int q = 0; q < count; ++q) {
        const FontVertex* corner = &quads[static_cast<size_t>(q) * 4];
        float x0 = corner[0].x, y0 = corner[0].y, x1 = x0, y1 = y0;
        for (int c = 1; c < 4; ++c) {
            x0 = std::min(x0, corner[c].x);
            x1 = std::max(x1, corner[c].x);
            y0 = std::min(y0, corner[c].y);
            y1 = std::max(y1, corner[c].y);
        }
        const float unit = static_cast<float>(scale);
        fillRectangle(left + static_cast<int>(std::lround(x0 * unit)), top + static_cast<int>(std::lround(y0 * unit)),
                      static_cast<int>(std::lround((x1 - x0) * unit)), static_cast<int>(std::lround((y1 - y0) * unit)),
                      colour);
    }
}

int textWidth(const std::string& text, int scale) {
    std::string copy = text;
    return stb_easy_font_width(copy.data()) * scale;
}

}  // namespace tollgram::host_tool
