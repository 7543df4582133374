#pragma once
// The capacity benchmark's judgements, apart from the processes it runs: the
// sides it is given and whether a load holds the whole file.
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace tollgram::bench {

// What a load's process reported of the model it read.
struct LoadCounts {
    bool returned = false;   // the process finished its load and wrote its counts
    bool succeeded = false;  // the reader said it read the file
    double faces = 0, vertices = 0;
    double corners = -1;  // -1: the reader does not tell
};

// What the file holds.
struct FileCounts {
    double faces = 0, vertices = 0, corners = 0;
};

// Every face, vertex and (where told) corner of the file is there. The DLL
// answers counts as floats, exact only up to 2^24: they are compared as
// floats.
inline bool loadedWhole(const LoadCounts& load, const FileCounts& file) {
    const auto same = [](double got, double want) { return float(got) == float(want); };
    return load.returned && load.succeeded && same(load.faces, file.faces) && same(load.vertices, file.vertices) &&
           (load.corners < 0 || same(load.corners, file.corners));
}

// "2000,2800" into sides from 2 to 65535 (past that side × side overflows
// the generator's 32-bit indices); false when the text is not so.
inline bool parseSides(const char* text, std::vector<uint32_t>& sides) {
    for (const char* p = text; *p;) {
        char* end;
        const unsigned long side = std::strtoul(p, &end, 10);
        if (end == p || side < 2 || side > 65535 || (*end != ',' && *end != '\0')) return false;
        if (*end == ',' && end[1] == '\0') return false;  // a list ends with a side
        sides.push_back(uint32_t(side));
        p = *end == ',' ? end + 1 : end;
    }
    return !sides.empty();
}

}  // namespace tollgram::bench
