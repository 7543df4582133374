#pragma once
// The pieces of the OBJ reader (OBJModel::readOBJ) that stand on their own.
#include <cstddef>
#include <cstdint>
#include <string>

#include "obj/line_reader.h"

namespace tollgram::obj {

// Which indices the corners of a face carry, decided by its first corner.
struct FaceForm {
    bool hasTexture = false;
    bool hasNormal = false;
};

// v: no "/"; v/t: one; v//n: two adjacent; v/t/n: two apart. Only the first
// two "/" decide; a token with more is then invalid for parseCorner.
FaceForm faceFormOf(const char* token, const char* end);

// Reads one corner token [token, end) of the given form, where end is white
// space or the text's terminator; the indices are as written (1-based, or
// negative counting back). Any character serves as a separator. False when
// the token doesn't have exactly the form's parts.
bool parseCorner(const char* token, const char* end, FaceForm form, int32_t& vertex, int32_t& texture,
                 int32_t& normal);

// The path up to and including its last "/" or "\", or empty.
std::string directoryOf(const std::string& path);

// The next line of an OBJ file with every character up to and including the
// first space lowercased, so keywords match in any case while names and
// numbers keep theirs. False at the end of the file (see LineReader).
bool readLine(LineReader& reader, char*& line, size_t& length);

}  // namespace tollgram::obj
