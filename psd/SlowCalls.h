#pragma once

#include <chrono>
#include <cstdint>
#include <utility>

namespace hv::psd {

// Calls to the file system that waited for a device or a share: a call served
// from the page cache returns within microseconds, one that goes to a disk or
// over a network takes a tenth of a millisecond or more. Counted per thread,
// so the read-ahead can tell reads that wait (and gain from many in flight)
// from reads that only keep a core busy.
//
// A call also takes that long when the thread was set aside for others while
// it ran; WaitProbe tells the two apart by whether the thread slept.
inline constexpr std::chrono::microseconds slowCallTime{100};

// Slow calls made on the calling thread so far.
std::uint64_t slowCallsOfThisThread();
// Counts a call of `took` on the calling thread, when it was slow.
void noteFileCall(std::chrono::steady_clock::duration took);

// Runs `call()` (a system call on a file) and notes its time.
template <class Call>
auto timedFileCall(Call&& call) {
    const auto start = std::chrono::steady_clock::now();
    auto result = std::forward<Call>(call)();
    noteFileCall(std::chrono::steady_clock::now() - start);
    return result;
}

// Whether the calling thread waited for a device or a share since the probe
// was made on it: a slow call, and the thread slept meanwhile (a thread
// only set aside for others, with every core busy, has not slept).
class WaitProbe {
public:
    WaitProbe();
    bool waited() const;

private:
    std::uint64_t slowCalls_;
    long sleeps_;
};

} // namespace hv::psd
