#pragma once

#include "psd/LayerReader.h"
#include "psd/ReadAheadPolicy.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hv::psd {

// Reads documents ahead of the one being asked for, on worker threads, so a
// run over a slow share waits for about one round trip per K documents
// instead of one per document. No Qt; the workers only call the reader.
//
// The caller announces the paths it is going to ask for, in order, then asks
// for them one by one. It stays in charge of the order: take(path) always
// hands out the result for exactly that path.
//
// - An entry of the announcement is read at most once. A path listed twice is
//   two entries, read twice, as a run without reading ahead would.
// - Matching: take(path) uses the first entry at or after the cursor with that
//   path and moves the cursor past it. Entries skipped over are dropped (a
//   read not started yet never starts; one running ends unheeded). A path
//   with no such entry (not announced, or already passed) is read on the spot.
// - Bounds: at most K reads run on the workers at once. A read starts only
//   for the entry being asked for and the K - 1 entries after it, or, before
//   the next entry is asked for, for the K - 1 entries from the cursor on. At
//   most K + 2 finished results are held. With K = 1 nothing is read before it
//   is asked for. The caller's calls start reads ahead only once K / 4 of
//   them may start, so its thread wakes a worker about once per K / 4
//   documents rather than once per document.
// - Threads: K reads run at once only while reads wait for a disk or a share
//   (psd/SlowCalls.h: two of the last sixteen made a slow call that slept, or
//   the run has just begun); reads that only keep a core busy run one per
//   core, and the one the caller waits for always gets a worker.
// - Memory: the reads in flight and the results held together hold at most
//   the byte budget, as the reads tell it (psd::ReadMeter) while they go.
//   A read that would pass it waits until results are taken, and no read
//   starts ahead while it is spent. The read of the entry asked for and that
//   of the first entry held never wait, so a document larger than the whole
//   budget is still read, alone; the order is kept. Nor does any read while
//   the entry asked for waits for a worker (the caller skipped ahead). A Reader that tells
//   nothing counts by its result's size once it has finished.
// - Failed reads come back as errors in their place; a reader that throws
//   (out of memory) gives an error too.
// - Destruction returns at once: no read starts any more, reads in progress
//   finish on their own (a metered one gives up at its next charge) and their
//   results are thrown away. The workers are detached, so they never hold up
//   the end of the process; they are started in one place (wakeOne).
//
// The calls are made from one thread (the window's).
class ReadAhead {
public:
    using Reader = std::function<ReadResult(const std::string& path)>;
    using MeteredReader = std::function<ReadResult(const std::string& path, ReadMeter& meter)>;
    static constexpr std::size_t maxReadsInFlight = ReadAheadPolicy::maxReadsInFlight;
    static constexpr std::size_t defaultReadsInFlight = ReadAheadPolicy::defaultReadsInFlight;

    // K is clamped to 1..maxReadsInFlight, a budget of 0 taken as 1 byte.
    // The reader is called on the worker threads, several at a time.
    explicit ReadAhead(ReadAheadPolicy policy, MeteredReader reader = meteredLayerReader());
    ReadAhead(ReadAheadPolicy policy, Reader reader);
    // K with the default byte budget.
    explicit ReadAhead(std::size_t readsInFlight);
    ReadAhead(std::size_t readsInFlight, Reader reader);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The paths that will be asked for, in order. Replaces any earlier
    // announcement and its results. Costs O(n log n) for n paths.
    void announce(std::vector<std::string> paths);

    // True as soon as take(path) would not block; false after `timeout`.
    // Starts the read of `path` on a worker if none has started it, so a
    // caller that waits in short slices and lets its events run in between is
    // never blocked by a slow document.
    bool waitReady(const std::string& path, std::chrono::milliseconds timeout);

    // The result for `path`: the one read ahead (waiting for it if its read
    // is running), or one read here and now.
    ReadResult take(const std::string& path);

    // psd::readLayerItems(path), metered or not.
    static Reader layerReader();
    static MeteredReader meteredLayerReader();

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace hv::psd
