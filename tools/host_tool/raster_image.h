#pragma once
// A plain RGB picture for the tool's drawings, with the few drawing steps
// the mesh picture and its legend need.
#include <cstdint>
#include <string>
#include <vector>

namespace tollgram::host_tool {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct RasterImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, row 0 first

    RasterImage() = default;
    RasterImage(int w, int h, Rgb fill);

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb colour);
    void fillRectangle(int left, int top, int w, int h, Rgb colour);

    // Text in stb_easy_font's segment font, scale pixels a font unit; the top
    // left corner of the first character at (left, top).
    void drawText(int left, int top, const std::string& text, Rgb colour, int scale = 2);
};

// The width in pixels drawText gives text at scale.
int textWidth(const std::string& text, int scale = 2);

}  // namespace tollgram::host_tool
