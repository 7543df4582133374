#include "host_tool/pictures.h"

#include "host_tool/mesh_picture.h"
#include "stb_image.h"
#include "stb_image_write.h"

namespace tollgram::host_tool {

bool drawMeshPicture(const SceneMesh& mesh, const HostSnapshot& snapshot, const ShapedGroups& groups,
                     const std::string& pngPath, std::string& error) {
    if (mesh.positions.empty()) {
        error = "the mesh has no vertices to draw";
        return false;
    }
    const MeshPicture picture = drawMesh(mesh, snapshot, groups);
    const RasterImage& image = picture.image;
    if (!stbi_write_png(pngPath.c_str(), image.width, image.height, 3, image.rgb.data(), image.width * 3)) {
        error = "cannot write " + pngPath;
        return false;
    }
    return true;
}

bool writePsdPreview(const std::string& psdPath, const std::string& pngPath, std::string& error) {
    int width = 0, height = 0, channels = 0;
    unsigned char* rgb = stbi_load(psdPath.c_str(), &width, &height, &channels, 3);
    if (rgb == nullptr) {
        error = "cannot read " + psdPath + " as a picture: " + stbi_failure_reason();
        return false;
    }
    const bool written = stbi_write_png(pngPath.c_str(), width, height, 3, rgb, width * 3) != 0;
    stbi_image_free(rgb);
    if (!written) error = "cannot write " + pngPath;
    return written;
}

}  // namespace tollgram::host_tool
