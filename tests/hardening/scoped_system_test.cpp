// The scoped system table: a test's calls are in force inside the scope and
// the table as it was is back after it, also when a failed assertion ends the
// test early, and scopes nest.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "frame/tracked_alloc.h"
#include "platform/memory.h"
#include "support/captured_notes.h"
#include "support/scoped_system.h"

namespace tollgram {
namespace {

void* noMemory(size_t) { return nullptr; }
int answeredBox(const char*, const char*, unsigned) { return 7; }

void failsInsideAScope() {
    test::ScopedSystem scope;
    scope.calls().memory.allocate = &noMemory;
    ASSERT_EQ(platform::systemCalls().memory.allocate(16), reinterpret_cast<void*>(1)) << "meant to fail";
}

TEST(ScopedSystem, PutsTheTableBackWhenAnAssertionEndsTheTest) {
    const platform::MemoryCalls before = platform::systemCalls().memory;
    EXPECT_FATAL_FAILURE(failsInsideAScope(), "meant to fail");
    EXPECT_EQ(platform::systemCalls().memory.allocate, before.allocate);
    void* block = trackedAlloc(16, "ScopedSystem");
    EXPECT_NE(block, nullptr);
    std::free(block);
}

TEST(ScopedSystem, AnInnerScopeGivesBackWhatTheOuterOneSet) {
    const platform::System& real = platform::platformSystem();
    {
        test::ScopedSystem outer;
        outer.calls().messageBoxes.show = &answeredBox;
        {
            test::CapturedNotes notes;  // a scope of its own
            outer.calls().memory.allocate = &noMemory;
            EXPECT_EQ(platform::systemCalls().memory.allocate(8), nullptr);
            EXPECT_NE(platform::systemCalls().messageBoxes.show, &answeredBox);
        }
        EXPECT_EQ(platform::systemCalls().messageBoxes.show, &answeredBox);
        EXPECT_EQ(platform::systemCalls().memory.allocate, real.memory.allocate)
            << "the inner scope's change went with it";
    }
    EXPECT_EQ(platform::systemCalls().messageBoxes.show, real.messageBoxes.show);
}

// Every call of the table is set: a call that a platform left out of its
// table would be null, and the library would jump to it. Outside any
// scope the live table is the platform's own.
TEST(SystemTable, EveryCallIsSetAndTheLiveTableStartsAsThePlatforms) {
    using Call = void (*)();
    static_assert(sizeof(platform::System) % sizeof(Call) == 0, "the table holds calls only");
    constexpr size_t kCalls = sizeof(platform::System) / sizeof(Call);
    const platform::System live = platform::liveSystem;
    Call own[kCalls];
    Call current[kCalls];
    std::memcpy(own, &platform::platformSystem(), sizeof own);
    std::memcpy(current, &live, sizeof current);
    for (size_t i = 0; i < kCalls; ++i) {
        EXPECT_NE(own[i], nullptr) << "call " << i;
        EXPECT_EQ(current[i], own[i]) << "call " << i;
    }
}

}  // namespace
}  // namespace tollgram
