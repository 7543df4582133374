#pragma once
// Bounds a call that would wait for ever if the library went wrong (a read
// from a serial port, a FIFO with no writer): the call runs on a thread of its
// own, and when it has not returned within the limit the test program ends at
// once with a message, since a thread blocked in a read can't be stopped from
// outside. The call should keep its findings for the caller to check.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace tollgram::test {

// Far above the few milliseconds a refused device name takes, even under
// Wine on a loaded machine.
inline constexpr std::chrono::seconds kHangLimit{30};

template <typename Work>
void withinTimeLimit(const char* what, Work&& work, std::chrono::seconds limit = kHangLimit) {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread worker([&] {
        work();
        const std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        done.notify_one();
    });
    std::unique_lock<std::mutex> lock(mutex);
    if (!done.wait_for(lock, limit, [&] { return finished; })) {
        std::fprintf(stderr, "%s did not return within %lld s; the test program ends here\n", what,
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(1);
    }
    lock.unlock();
    worker.join();
}

}  // namespace tollgram::test
