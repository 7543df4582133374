#pragma once
// Every text the OBJ and MTL readers write, in one place. These are exact
// texts that scripts and users have long matched and read: do not reword
// them, not even where they look wrong ("Normal of vertex 0 invalid at " has
// no "(", and a material line is " in not valid.").
namespace tollgram::obj::texts {

// Appended to the model's _errorText.
inline constexpr const char kFileNotFound[] = "OBJ file not found: ";        // + path
inline constexpr const char kUtf16[] = "OBJ file is UTF-16 text, which is not read (save it as ANSI or UTF-8): ";  // + path
inline constexpr const char kReadFailed[] = "OBJ file could not be read to its end: ";  // + path + "\n"
inline constexpr const char kOutOfMemory[] = "Out of memory while reading ";  // + path + "\n"
inline constexpr const char kInvalidCorner[] = "Error for vertex at (";      // + line + kInvalidCornerEnd
inline constexpr const char kInvalidCornerEnd[] = ")\n";
// The fatal index faults: text + line + kFaultIn + path + "\n".
inline constexpr const char kVertexZero[] = "Vertex 0 invalid at (";
inline constexpr const char kVertexBeyond[] = "Vertex not found at (";
inline constexpr const char kTextureZero[] = "Coordinate of texture 0 invalid at (";
inline constexpr const char kTextureBeyond[] = "Coordinate of texture invalid at (";
inline constexpr const char kNormalZero[] = "Normal of vertex 0 invalid at ";
inline constexpr const char kNormalBeyond[] = "Usage of non valid normal for vertex at (";
inline constexpr const char kFaultIn[] = ") in ";
inline constexpr const char kTooManyCorners[] = "ERROR: Max face vertex count of 8 exceeded.\n";
// A line of no known kind: kUnknownLine + line + kUnknownLineIn + path + kUnknownLineEnd.
inline constexpr const char kUnknownLine[] = "Line \"";
inline constexpr const char kUnknownLineIn[] = "\" in ";
inline constexpr const char kUnknownLineEnd[] = " has error.";

// Written to the error log file when more smoothing groups come than the
// model records.
inline constexpr const char kErrorLogName[] = "error_objmodel_read.txt";
inline constexpr const char kLogCountFormat[] = "ERROR: _smoothingGroupCount = %d\n";
inline constexpr const char kLogLineFormat[] = "line = %s\n";

// The MTL reader's.
inline constexpr const char kMaterialsMissing[] = "Materials file missing: ";  // + path
inline constexpr const char kMaterialsReadFailed[] = "Materials file could not be read to its end: ";  // + path
inline constexpr const char kMaterialsUtf16[] =
    "Materials file is UTF-16 text, which is not read (save it as ANSI or UTF-8): ";  // + path
inline constexpr const char kMaterialLine[] = " line \"";                     // + line
inline constexpr const char kBeforeNewmtl[] = "\" for newmtl in ";            // + path
inline constexpr const char kUnknownMaterialKeyword[] = "\" in ";             // + path + kNotValid
inline constexpr const char kNotValid[] = " in not valid.\n";

}  // namespace tollgram::obj::texts
