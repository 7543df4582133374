#pragma once
// What a run did to the host's records: a snapshot before the calls, one
// after, and the differences in words.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "substitute_host/substitute_host.h"

namespace tollgram::host_tool {

struct HostSnapshot {
    std::vector<uint8_t> maskBytes;    // per vertex
    std::vector<uint8_t> creaseBytes;  // per polygon
    std::vector<std::string> groupNames;
    std::string alphaName, textureName;
    float importScale[3] = {0, 0, 0};
    float importOffset[3] = {0, 0, 0};
    std::string interfaceTree;
};

HostSnapshot takeSnapshot(substitute::SubstituteHost& host);

// Edges (2-bit pairs) marked in a polygon's crease byte.
int creaseEdgesIn(uint8_t creaseByte);

// Writes the changes from before to after; "nothing changed" when none.
void reportChanges(const HostSnapshot& before, const HostSnapshot& after, std::FILE* out);

}  // namespace tollgram::host_tool
