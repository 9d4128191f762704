#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace hv::bench {

struct RunFigures {
    double seconds = 0;
    long long rows = 0;   // matches found (or names read, for the reader alone)
    long long errors = 0; // documents that could not be read (error reports, in the window)
    long peakKb = 0;      // peak resident memory of the process so far
    // Seconds taken by each successive block of `rowBlock` result rows.
    std::vector<double> blockSeconds;
    // The window run's longest stretch without letting events run.
    double longestFreeze = 0;
    // The window run's processor time: the whole process's, and its
    // window thread's (user and system, seconds).
    double cpuSeconds = 0;
    double windowCpuSeconds = 0;
};

inline constexpr int rowBlock = 10000;

// Every document read by the layer reader alone; rows = item names read.
// Unreadable documents count as errors in every run; they never void it.
RunFigures runReaderAlone(const QStringList& paths);
// Every document through the document link, announced first and read
// ahead, with the containment rule, as the run does it but without a
// window; rows = matches.
RunFigures runLinkAlone(const QStringList& paths, const QString& searchText);
// The real main window offscreen: the listed documents in the file list, the
// search text typed, from the click on "Start Searching" to "Done.".
RunFigures runWindow(const QStringList& paths, const QString& searchText);

// The real main window offscreen with nothing to do: `calls` times letting
// pending events run; rows = calls.
RunFigures runIdleEvents(int calls);

long peakResidentKb();

} // namespace hv::bench
