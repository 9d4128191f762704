#pragma once

#include "platform/EventPump.h"
#include "platform/FileSystem.h"

#include <chrono>

namespace hv {

// Waits for the answers of job `index`, in slices short enough for the
// window to stay live: the pending window events run between slices (a
// closed window ends the program there, whatever the workers are doing).
inline void waitForAnswers(QueryRun& run, std::size_t index, EventPump& events) {
    constexpr std::chrono::milliseconds kSlice{20};
    while (!run.waitFor(index, kSlice)) events.processEvents();
}

} // namespace hv
