#pragma once
// Pictures a person would rather look at than read: the mesh seen from the
// front with its mask as colour and its creases as lines, and a preview of
// a thumbnail file the library wrote.
#include <string>

#include "host_tool/host_report.h"
#include "host_tool/scene.h"

namespace tollgram::host_tool {

// A size × size PNG of mesh, looking down -Z, coloured by snapshot's mask
// bytes (grey unmasked, towards orange with the mask value) with crease
// edges in red.
bool drawMeshPicture(const SceneMesh& mesh, const HostSnapshot& snapshot, const std::string& pngPath,
                     std::string& error, int size = 512);

// A PNG of an uncompressed 8-bit PSD file (RGB or greyscale).
bool writePsdPreview(const std::string& psdPath, const std::string& pngPath, std::string& error);

}  // namespace tollgram::host_tool
