#pragma once
// How a read goes on, as the reader's steps pass it back to the step that
// called them, from a statement line up to the whole file; what is wrong
// with one face line is its LineFault, which the join turns into a status
// and a diagnostic. Memory that runs out in the runtime's own containers
// (names, directories, diagnostics) is thrown as std::bad_alloc instead, and
// becomes OutOfMemory in one place per thread: OBJModel::readOBJ, and each
// worker of the parallel read.
#include <cstdint>

namespace tollgram::obj {

enum class ReadStatus : uint8_t {
    Ok,           // go on with the next line
    Ended,        // a fault ended the read; its text is in _errorText
    OutOfMemory,  // memory ran out; the read ends
};

// What is wrong with a face line, in the order the corners are checked.
enum class LineFault : uint8_t {
    None,
    InvalidCorner,  // the face is dropped, reading goes on
    VertexZero,
    VertexBeyond,
    TextureZero,
    TextureBeyond,
    NormalZero,
    NormalBeyond,
    TooManyCorners,
    OutOfMemory,
};

}  // namespace tollgram::obj
