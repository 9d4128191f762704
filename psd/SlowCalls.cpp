#include "psd/SlowCalls.h"

#include <sys/resource.h>

namespace hv::psd {

namespace {

thread_local std::uint64_t slowCalls = 0;

// Times the calling thread slept so far; -1 where the system does not count
// them per thread (every slow call is then counted).
long sleepsOfThisThread() {
#ifdef RUSAGE_THREAD
    struct rusage usage {};
    if (::getrusage(RUSAGE_THREAD, &usage) == 0) return usage.ru_nvcsw;
#endif
    return -1;
}

} // namespace

FileCallStart fileCallStarts() {
    return {std::chrono::steady_clock::now(), sleepsOfThisThread()};
}

void fileCallEnded(const FileCallStart& start) {
    if (std::chrono::steady_clock::now() - start.time < slowCallTime) return;
    if (start.sleeps < 0 || sleepsOfThisThread() != start.sleeps) ++slowCalls;
}

WaitProbe::WaitProbe() : slowCalls_(slowCalls) {}

bool WaitProbe::waited() const {
    return slowCalls != slowCalls_;
}

} // namespace hv::psd
