#pragma once
// The host's side of a run: the mesh, texture, names and interface tree
// the substitute host holds for the library to work on, built from files a
// script author has at hand.
#include <cstdint>
#include <string>
#include <vector>

#include "substitute_host/substitute_host.h"

namespace tollgram::host_tool {

// A mesh as the host holds it: positions for drawing, polygons in file
// order, group names.
struct SceneMesh {
    std::vector<float> positions;                 // x, y, z per vertex
    std::vector<std::vector<uint32_t>> polygons;  // 0-based vertex indices
    std::vector<std::string> groupNames;          // in order of first use
};

// Reads the mesh Kavrex would make of an OBJ file, taking vertices, faces
// and groups by the library's own rules, so that the host holds the
// model's vertices and polygons in the model's order and the model's group
// names:
// - a UTF-8 byte-order mark is skipped, UTF-16 text is refused, and a line
//   ends at LF, CR LF or a CR alone;
// - a line's keyword is read without regard to case; a line that starts
//   with a blank is not read;
// - "v" lines (not "vt" or "vn") are vertices, missing numbers 0;
// - an "f" line is a polygon of its corners' vertices, a vertex named twice
//   counted once; a face whose corners are not all written in the form of
//   its first corner is left out, as the library leaves it out;
// - the words of a "g" line, split at blanks, are the groups the following
//   faces join, each word a group of its own ("g front cube" names two);
//   faces before any "g" line, or after one without a word, join
//   "default"; a group comes into the list when its first face is read.
// A corner that names vertex 0, or a vertex further down the file, and a
// face with a ninth distinct corner make the library refuse the file; so
// does this reader, naming the line, and like the library it reads no
// further than the ninth corner. A folder is refused as unreadable.
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
