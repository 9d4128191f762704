#include "psd/SlowCalls.h"

#include <sys/resource.h>

namespace hv::psd {

namespace {

thread_local std::uint64_t slowCalls = 0;

// Times the calling thread slept so far; -1 where the system does not count
// them per thread.
long sleepsOfThisThread() {
#ifdef RUSAGE_THREAD
    struct rusage usage {};
    if (::getrusage(RUSAGE_THREAD, &usage) == 0) return usage.ru_nvcsw;
#endif
    return -1;
}

} // namespace

std::uint64_t slowCallsOfThisThread() {
    return slowCalls;
}

void noteFileCall(std::chrono::steady_clock::duration took) {
    if (took >= slowCallTime) ++slowCalls;
}

WaitProbe::WaitProbe() : slowCalls_(slowCalls), sleeps_(sleepsOfThisThread()) {}

bool WaitProbe::waited() const {
    return slowCalls != slowCalls_ && (sleeps_ < 0 || sleepsOfThisThread() != sleeps_);
}

} // namespace hv::psd
