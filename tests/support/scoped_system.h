#pragma once
// Calls of the system table answered by a test for the length of a scope:
// the test changes the calls it wants to answer or watch, and the whole
// table as it was is back when the scope ends, however it ends (a failed
// ASSERT returns from the test body through the destructor). Scopes nest: an
// inner one changes the same table and puts back what the outer one set.
#include "platform/system.h"

namespace tollgram::test {

class ScopedSystem {
public:
    ScopedSystem() : saved_(platform::liveSystem) {}
    ~ScopedSystem() { platform::liveSystem = saved_; }
    ScopedSystem(const ScopedSystem&) = delete;
    ScopedSystem& operator=(const ScopedSystem&) = delete;

    // The table in force; change its calls freely.
    platform::System& calls() { return platform::liveSystem; }
    // The table as the scope found it, for calls that watch and go on.
    const platform::System& saved() const { return saved_; }

private:
    const platform::System saved_;
};

}  // namespace tollgram::test
