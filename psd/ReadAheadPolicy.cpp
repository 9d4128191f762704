#include "psd/ReadAheadPolicy.h"

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace hv::psd {

void returnLargeBuffersWhenFreed() {
#if defined(__GLIBC__)
    // A fixed threshold also stops the library from raising it on its own.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

ReadsInFlightText parseReadsInFlight(std::string_view text, std::string_view name) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return {};
    std::size_t value = 0;
    for (const char c : text) {
        value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(c - '0'), 1000000);
    }
    if (value < 1) return {};
    if (value <= ReadAheadPolicy::maxReadsInFlight) return {value, {}};
    const std::string most = std::to_string(ReadAheadPolicy::maxReadsInFlight);
    return {ReadAheadPolicy::maxReadsInFlight, std::string(name) + " " + std::string(text) + " is more than " + most
                                                   + " documents at a time; " + most + " are read"};
}

ReadAheadPolicy readAheadPolicy(const char* readsInFlight, std::string& warning) {
    warning.clear();
    ReadAheadPolicy policy;
    if (!readsInFlight) return policy;
    const ReadsInFlightText parsed = parseReadsInFlight(readsInFlight, "HALVORINE_READ_AHEAD");
    if (parsed.readsInFlight) {
        policy.readsInFlight = *parsed.readsInFlight;
        warning = parsed.warning;
    } else {
        warning = "HALVORINE_READ_AHEAD wants a number of documents from 1 to "
                  + std::to_string(ReadAheadPolicy::maxReadsInFlight) + "; "
                  + std::to_string(ReadAheadPolicy::defaultReadsInFlight) + " are read";
    }
    return policy;
}

} // namespace hv::psd
