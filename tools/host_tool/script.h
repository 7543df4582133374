#pragma once
// The tool's script language: one export call a line, in the words a
// Kavrex script author uses.
//
//   # a comment
//   LoadOBJFile "models/head.obj"
//   GetOBJGroupInfo "name" 1 buffer=256
//   MoveButtonAfter "Load Mesh" buffer="Save Mesh"
//   SetMesh3DInfo "importScaleX" 0.1
//   GetFileInfo "name" 1 buffer=64 size=8     (size= passes another bufferSize)
//
// A quoted word is the text (null when there is none, or with the word
// null); a number is the value (nan and inf are numbers too); buffer=N
// passes an N-byte buffer for a text result; buffer="..." passes a text in
// the buffer. Inside quotes \" and \\ stand for " and \. A line that holds
// a NUL byte anywhere is refused, its column named: the library would see
// a text only up to it.
#include <cstdint>
#include <optional>
#include <string>

namespace tollgram::host_tool {

struct ScriptCall {
    std::string exportName;
    std::optional<std::string> text;       // absent: null
    double value = 0.0;
    bool hasValue = false;                 // written in the line, 0 included
    std::optional<int32_t> bufferBytes;    // an output buffer of this size
    std::optional<std::string> bufferText; // a text handed in the buffer
    std::optional<int32_t> sizeOverride;   // bufferSize as passed, if not the buffer's own
};

struct ParsedLine {
    bool isCall = false;  // false for blank and comment lines
    ScriptCall call;
    std::string error;    // set when the line can't be read
};

ParsedLine parseScriptLine(const std::string& line);

// The call written back in script form, for the transcript.
std::string describeCall(const ScriptCall& call);

}  // namespace tollgram::host_tool
