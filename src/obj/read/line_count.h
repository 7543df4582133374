#pragma once
// The first pass of the parallel read over a chunk: its lines counted by
// kind, at the speed of a search for line ends, so that every chunk knows
// where its records go in the model before any number is read. A line is
// counted by its first character as the line parser dispatches it: every
// "v" line makes one coordinate of its kind, every "f" line at most one
// face (none when it is empty or invalid).
#include <cstdint>

namespace tollgram::obj {

struct LineCounts {
    uint32_t coordinates[3] = {0, 0, 0};  // by Coordinates
    uint32_t faceLines = 0;
};

// The lines from text, a line's start, to end, where a NUL follows.
LineCounts countLines(const char* text, const char* end);

}  // namespace tollgram::obj
