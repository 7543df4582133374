#include "host_tool/demo.h"

#include <cmath>
#include <cstdio>

namespace tollgram::host_tool {

namespace {
constexpr int kColumns = 12;
constexpr int kRows = 8;

// Three groups over a 12 × 8 grid of quads: a frame of one quad around a
// panel, and a badge that is also part of the panel.
const char* groupsOf(int column, int row) {
    const bool frame = column == 0 || row == 0 || column == kColumns - 1 || row == kRows - 1;
    if (frame) return "frame";
    const bool badge = column >= 7 && column <= 9 && row >= 2 && row <= 4;
    return badge ? "panel badge" : "panel";
}
}  // namespace

bool writeSampleModel(const std::string& directory, std::string& error) {
    const std::string objPath = directory + "/sample.obj", mtlPath = directory + "/sample.mtl";
    std::FILE* mtl = std::fopen(mtlPath.c_str(), "w");
    if (mtl == nullptr) {
        error = "cannot write " + mtlPath;
        return false;
    }
    std::fputs("# Materials of the demo panel\nnewmtl steel\nKd 0.6 0.6 0.65\nKs 0.9 0.9 0.9\nNs 80\nillum 2\n\n"
               "newmtl paint\nKd 0.8 0.3 0.1\nd 1\nillum 1\n", mtl);
    std::fclose(mtl);

    std::FILE* obj = std::fopen(objPath.c_str(), "w");
    if (obj == nullptr) {
        error = "cannot write " + objPath;
        return false;
    }
    std::fputs("# Demo panel: a frame around a gently curved panel with a badge\nmtllib sample.mtl\no panel\n", obj);
    for (int row = 0; row <= kRows; ++row) {
        for (int column = 0; column <= kColumns; ++column) {
            const double x = column - kColumns / 2.0, y = row - kRows / 2.0;
            const double z = 0.6 * std::cos(x * 0.25) * std::cos(y * 0.3);
            std::fprintf(obj, "v %.4f %.4f %.4f\n", x, y, z);
        }
    }
    for (int row = 0; row <= kRows; ++row)
        for (int column = 0; column <= kColumns; ++column)
            std::fprintf(obj, "vt %.4f %.4f\n", column / double(kColumns), row / double(kRows));
    std::fputs("vn 0 0 1\n", obj);

    const char* currentGroups = "";
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const char* groups = groupsOf(column, row);
            if (std::string(groups) != currentGroups) {
                std::fprintf(obj, "g %s\nusemtl %s\n", groups, std::string(groups) == "frame" ? "steel" : "paint");
                currentGroups = groups;
            }
            std::fprintf(obj, "s %d\n", column < kColumns / 2 ? 1 : 2);
            const int a = row * (kColumns + 1) + column + 1, b = a + 1, c = b + kColumns + 1, d = a + kColumns + 1;
            std::fprintf(obj, "f %d/%d/1 %d/%d/1 %d/%d/1 %d/%d/1\n", a, a, b, b, c, c, d, d);
        }
    }
    const bool written = std::ferror(obj) == 0;
    std::fclose(obj);
    if (!written) error = "cannot write " + objPath;
    return written;
}

std::vector<uint8_t> sampleTexture(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            const int u = x * 8 / width, v = y * 8 / height;
            // A letter F in the upper left: a stem and two arms of unequal length.
            const bool letter = (u == 1 && v >= 1 && v <= 6) || (v == 1 && u >= 1 && u <= 5) || (v == 3 && u >= 1 && u <= 3);
            p[0] = static_cast<uint8_t>(letter ? 40 : 255 * y / height);  // blue grows downwards
            p[1] = static_cast<uint8_t>(letter ? 40 : 128);
            p[2] = static_cast<uint8_t>(letter ? 230 : 255 * x / width);  // red grows rightwards
            p[3] = 255;
        }
    }
    return pixels;
}

const char* sampleInterface() {
    return "Main Window\n"
           "  File [container]\n"
           "    Load Mesh\n"
           "    Save Mesh [button: Save / Save Mesh]\n"
           "    Export Thumbnail\n"
           "  Tools\n"
           "    Mask Group\n"
           "    Crease Group\n";
}

std::string demoScript(const std::string& folder) {
    // The script's paths name the sample's folder, as a script author's
    // would: calls take relative paths from the folder the tool runs in.
    std::string prefix;
    for (char c : folder) {
        if (c == '"' || c == '\\') prefix += '\\';
        prefix += c;
    }
    if (!prefix.empty() && prefix.back() != '/' && folder.back() != '\\') prefix += '/';
    const char* lines[] = {
        "# The typical road of a Kavrex script, on the embedded sample",
        "Version",
        "LoadOBJFile \"@sample.obj\"",
        "GetOBJInfo \"vertexCount\"",
        "GetOBJInfo \"faceCount\"",
        "GetOBJInfo \"groupCount\"",
        "GetOBJGroupInfo \"name\" 1 buffer=64",
        "GetOBJGroupInfo \"name\" 2 buffer=64",
        "GetOBJGroupInfo \"name\" 3 buffer=64",
        "GetOBJGroupInfo \"vertexCount\" 2",
        "GetOBJSmoothGroupInfo \"count\"",
        "GetOBJSmoothGroupInfo \"value\" 2",
        "SetMesh3DInfo \"maskValue\" 200",
        "SetMesh3DFromOBJGroup \"mask\" 3",
        "SetMesh3DFromOBJGroup \"crease\" 2",
        "ExportOBJGroup \"@panel.obj\" 2",
        "ExportOBJSmoothGroup \"@smooth-1.obj\" 1",
        "GetMesh3DInfo \"groupCount\"",
        "RenameTexture \"demo texture\"",
        "GetTextureInfo \"name\" buffer=64",
        "MoveButtonAfter \"Export Thumbnail\" buffer=\"Load Mesh\"",
        "SetThumbnail \"width\" 128",
        "SetThumbnail \"height\" 96",
        "SaveTextureThumbnail \"@thumbnail.psd\"",
        "FreeOBJModel",
    };
    std::string script;
    for (const char* line : lines) {
        for (const char* c = line; *c; ++c) {
            if (*c == '@') script += prefix;
            else script += *c;
        }
        script += '\n';
    }
    return script;
}

}  // namespace tollgram::host_tool
