#pragma once
// The pictures of a run, as PNG files: the host mesh with its mask and
// creases (mesh_picture.h), and a preview of each thumbnail the library
// wrote, read back by an independent reader.
#include <string>

#include "host_tool/host_report.h"
#include "host_tool/mesh_picture.h"
#include "host_tool/scene.h"

namespace tollgram::host_tool {

bool drawMeshPicture(const SceneMesh& mesh, const HostSnapshot& snapshot, const ShapedGroups& groups,
                     const std::string& pngPath, std::string& error);

// A PNG of a Photoshop document, read with stb_image's PSD reader.
bool writePsdPreview(const std::string& psdPath, const std::string& pngPath, std::string& error);

}  // namespace tollgram::host_tool
