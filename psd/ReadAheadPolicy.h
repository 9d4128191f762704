#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hv::psd {

// How far a search reads ahead (psd::ReadAhead): documents in flight and the
// bytes that reads in flight and results waiting may hold together. Chosen
// once when the program starts (HALVORINE_READ_AHEAD for the window, -j for
// halvorine-find) and handed to the search.
struct ReadAheadPolicy {
    static constexpr std::size_t maxReadsInFlight = 256;
    // Enough to keep a share busy, where each document waits a round trip or
    // more, and cheap on a local disk. Chosen on every link case of
    // bench/share/run.sh: 32 is up to 2x slower than 64 at 1 and 5 ms, and
    // 128 gains only at 5 ms without a bandwidth limit, where 64 already
    // beats pfloor's 64 (on a limited link the bandwidth decides).
    static constexpr std::size_t defaultReadsInFlight = 64;
    // Room for thousands of ordinary documents and one or two of a million
    // layers (about 170 MB each as counted): 16 of those searched with 64 in
    // flight peak at about 450 MB, against 2 GB without a budget.
    static constexpr std::uint64_t defaultByteBudget = 256ull * 1024 * 1024;

    std::size_t readsInFlight = defaultReadsInFlight;
    std::uint64_t byteBudget = defaultByteBudget;
};

// Called once by a program before it reads ahead: buffers of a megabyte and
// more go back to the system when freed. Otherwise the C library keeps the
// freed buffers of huge documents in each worker's heap, and the process
// grows well past the byte budget (about 900 MB against 450 MB for 16
// documents of a million layers, 64 in flight).
void returnLargeBuffersWhenFreed();

// K as typed by the user. The one rule for the window and the command line:
// a whole number from 1 on is taken, one above maxReadsInFlight is lowered
// to it with a warning; anything else (0, a sign, words) is no K.
struct ReadsInFlightText {
    std::optional<std::size_t> readsInFlight;
    std::string warning; // why the number was lowered; empty when it was not
};
ReadsInFlightText parseReadsInFlight(std::string_view text, std::string_view name);

// The window's policy from HALVORINE_READ_AHEAD's value (null when unset):
// the default when the value is no K, with `warning` saying so.
ReadAheadPolicy readAheadPolicy(const char* readsInFlight, std::string& warning);

} // namespace hv::psd
