#pragma once
// One run of the tool: the scene set up, the script's calls made one by
// one, then the report of what changed and the pictures.
#include <cstdio>
#include <istream>
#include <optional>
#include <string>

#include "host_tool/line_source.h"

namespace tollgram::host_tool {

struct SessionOptions {
    std::string library;        // file name or path of the library
    std::string scriptName;     // names the lines in messages ("calls.txt:2:"); none: "line 2:"
    std::string meshFile;       // OBJ file for the host mesh
    std::string textureFile;    // picture for the current texture
    std::string interfaceFile;  // indented interface tree
    std::string interfaceText;  // the same, given as text (the demo's)
    std::optional<std::string> alphaName, textureName;
    std::string outDirectory;   // where the pictures go; none: no pictures
    bool keepGoing = false;
    bool prompt = false;        // ask for each line (standard input on a terminal)
    // The demo's own texture instead of a file.
    int sampleTextureWidth = 0, sampleTextureHeight = 0;
};

// Runs every line of script; returns the process's exit code: 0 when every
// line ran, 1 when a line could not run, 2 when the run could not start.
// The call lines and the report go to out, each box the library shows in
// its place among them; messages about lines that cannot run go to err.
int runSession(const SessionOptions& options, std::istream& script, std::FILE* out, std::FILE* err);
int runSession(const SessionOptions& options, LineSource& lines, std::FILE* out, std::FILE* err);

// "tollgram-host VERSION" and the library's own Version; 2 when the library
// can't be loaded.
int printVersion(const std::string& library, std::FILE* out, std::FILE* err);

// Makes the sample in a folder and runs the demo script on it.
int runDemo(const std::string& library, const std::string& outDirectory, std::FILE* out, std::FILE* err);

}  // namespace tollgram::host_tool
