#pragma once
// The host bridge's state that outlives a call: the mask value that
// SetMesh3DInfo "maskValue" sets and the mask transfer writes.
#include <cstdint>

namespace tollgram::host {

struct HostState {
    uint8_t maskValue;
};

HostState& hostState();

// Back to 0, its load-time value.
void resetHostState();

}  // namespace tollgram::host
