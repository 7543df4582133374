#include "host/host_state.h"

namespace tollgram::host {

namespace {
constinit HostState g_state{};
}  // namespace

HostState& hostState() { return g_state; }

void resetHostState() { g_state = HostState{}; }

}  // namespace tollgram::host
