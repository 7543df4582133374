#pragma once
// The embedded sample of the demo: a small panel model with groups,
// smoothing groups and materials, a texture and an interface tree, all made
// in code, and the script that runs the library's typical road on them.
#include <cstdint>
#include <string>
#include <vector>

namespace tollgram::host_tool {

// Writes sample.obj and sample.mtl into directory; false when it can't.
bool writeSampleModel(const std::string& directory, std::string& error);

// A width × height 32-bit texture (blue, green, red, 0) with an asymmetric
// pattern, so that flips and channel swaps show in the thumbnail.
std::vector<uint8_t> sampleTexture(int width, int height);

// The interface tree in the tool's indented form.
const char* sampleInterface();

// The typical road: load, list the groups, mask one, crease another,
// export a group and a smoothing group, rename, reorder a button, make a
// thumbnail, free the model; every file in folder.
std::string demoScript(const std::string& folder);

}  // namespace tollgram::host_tool
