#pragma once
// The host's side of a run: the mesh, texture, names and interface tree
// the substitute host holds for the library to work on, built from files a
// script author has at hand.
#include <cstdint>
#include <string>
#include <vector>

#include "substitute_host/substitute_host.h"

namespace tollgram::host_tool {

// A mesh as the host holds it, read from an OBJ file by an independent
// reader: positions for drawing, polygons in file order, group names.
struct SceneMesh {
    std::vector<float> positions;                 // x, y, z per vertex
    std::vector<std::vector<uint32_t>> polygons;  // 0-based vertex indices
    std::vector<std::string> groupNames;          // in order of first use
};

bool readSceneMesh(const std::string& objPath, SceneMesh& mesh, std::string& error);

// Gives the host a mesh with the counts and group names of mesh.
void installMesh(substitute::SubstituteHost& host, const SceneMesh& mesh);

// The current texture from a PNG, JPEG, BMP or TGA file, as 32-bit pixels
// with blue, green, red in bytes 0, 1, 2.
bool installTextureFile(substitute::SubstituteHost& host, const std::string& path, std::string& error);

// The interface tree from an indented text file: one item a line, nested by
// indentation (two spaces or a tab a level). A line's text is the item's
// name; "[container]" after it makes the item a container whose children
// are also listed in its item array, and "[button: First / Second]" gives
// it control names.
//
//   Main
//     File [container]
//       Load Mesh
//       Save Mesh [button: Save / Save Mesh]
//     Tools
bool installInterfaceText(substitute::SubstituteHost& host, const std::string& text, std::string& error);
bool installInterfaceFile(substitute::SubstituteHost& host, const std::string& path, std::string& error);

// The interface tree as indented text, from the top of the start node's
// tree (a cyclic tree is cut where it repeats).
std::string describeInterface(substitute::SubstituteHost& host);

}  // namespace tollgram::host_tool
