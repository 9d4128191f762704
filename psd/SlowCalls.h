#pragma once

#include <chrono>
#include <cstdint>
#include <utility>

namespace hv::psd {

// Calls to the file system that waited for a device or a share: a call served
// from the page cache returns within microseconds, one that goes to a disk or
// over a network sleeps and takes a tenth of a millisecond or more. Counted
// per thread, so the read-ahead can tell reads that wait (and gain from many
// in flight) from reads that only keep a core busy. A call that took as long
// without sleeping was set aside for other threads and is not counted.
inline constexpr std::chrono::microseconds slowCallTime{100};

// When a call started, and how often its thread had slept by then.
struct FileCallStart {
    std::chrono::steady_clock::time_point time;
    long sleeps;
};
FileCallStart fileCallStarts();
// Counts the call begun at `start` on the calling thread, when it slept and
// was slow.
void fileCallEnded(const FileCallStart& start);

// Runs `call()` (a system call on a file) and counts it.
template <class Call>
auto timedFileCall(Call&& call) {
    const FileCallStart start = fileCallStarts();
    auto result = std::forward<Call>(call)();
    fileCallEnded(start);
    return result;
}

// Whether the calling thread made a call that waited (as counted above)
// since the probe was made on it.
class WaitProbe {
public:
    WaitProbe();
    bool waited() const;

private:
    std::uint64_t slowCalls_;
};

} // namespace hv::psd
