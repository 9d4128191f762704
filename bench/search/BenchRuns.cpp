#include "BenchRuns.h"

#include "cache/CachedReader.h"
#include "platform/Failure.h"
#include "platform/Platform.h"
#include "platform/SpreadsheetLink.h"
#include "platform/qt/NativePhotoshopLink.h"
#include "platform/qt/PosixFileSystem.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtDocumentThumbnails.h"
#include "psd/LayerReader.h"
#include "search/LayerNameMatch.h"
#include "shell/Form1.h"
#include "widgets/ListView.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <sys/resource.h>

namespace hv::bench {

namespace {

// The window's reader: the layer reader behind the user's layer cache,
// unless HALVORINE_CACHE=off.
psd::ReadAhead::MeteredReader userCacheReader() {
    return cache::withUserCache(psd::ReadAhead::meteredLayerReader(), "bench_search");
}

// HALVORINE_READ_AHEAD, as the window reads it (--read-ahead sets it).
psd::ReadAheadPolicy readAheadFromEnvironment() {
    std::string warning;
    const psd::ReadAheadPolicy policy = psd::readAheadPolicy(std::getenv("HALVORINE_READ_AHEAD"), warning);
    if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
    return policy;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Records when "Done." is shown; nothing is put on screen.
class QuietMessages : public MessageBox {
public:
    MessageAnswer show(const Message& message) override {
        if (message.text == QStringLiteral("Done."))
            done = Clock::now();
        else
            ++others;
        return MessageAnswer::Ok;
    }
    std::optional<Clock::time_point> done;
    int others = 0;
};

// The desktop's pump, noting the time at which the result list passes each
// block of rows, and the longest time the run goes without polling the
// window system (the longest the window stays frozen). Both are read only
// around the polls, so the calls in between cost what they cost the window.
class TimingPump : public QtEventPump {
protected:
    void aboutToPoll() override {
        if (results) longestGap = std::max(longestGap, Clock::now() - lastReturn);
    }
    void polled() override {
        lastReturn = Clock::now();
        if (!results) return;
        const int rows = results->itemCount();
        if (rows >= nextMark) {
            blockSeconds.push_back(std::chrono::duration<double>(lastReturn - lastMark).count());
            lastMark = lastReturn;
            nextMark += rowBlock;
        }
    }

public:
    const ListViewModel* results = nullptr;
    int nextMark = rowBlock;
    Clock::time_point lastMark;
    std::vector<double> blockSeconds;
    Clock::time_point lastReturn;
    Clock::duration longestGap{};
};

class NoSpreadsheet : public SpreadsheetLink {
public:
    std::unique_ptr<SpreadsheetApplication> create() override { throw Failure(QStringLiteral("not used")); }
};

} // namespace

namespace {

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

RunFigures runReaderAlone(const QStringList& paths) {
    RunFigures figures;
    const Clock::time_point start = Clock::now();
    for (const QString& path : paths) {
        const psd::ReadResult result = psd::readLayerItems(QFile::encodeName(path).toStdString());
        if (result.ok())
            figures.rows += static_cast<long long>(result.document().items.size());
        else
            ++figures.errors;
    }
    figures.seconds = secondsSince(start);
    figures.peakKb = peakResidentKb();
    return figures;
}

RunFigures runLinkAlone(const QStringList& paths, const QString& searchText) {
    QtDesktopShell desktop;
    NativePhotoshopLink link(desktop, readAheadFromEnvironment(), userCacheReader());
    RunFigures figures;
    const Clock::time_point start = Clock::now();
    std::unique_ptr<PhotoshopApplication> application = link.create();
    application->expect(paths);
    for (const QString& path : paths) {
        std::unique_ptr<PhotoshopDocument> document;
        try {
            document = application->open(path);
        } catch (const Failure&) {
            ++figures.errors;
            continue;
        }
        const std::int32_t count = document->layerCount();
        for (std::int32_t j = 1; j <= count; ++j)
            if (LayerNameContains(document->layerName(j), searchText, CaseOption::IgnoreCase)) ++figures.rows;
        document->close();
    }
    application->quit();
    figures.seconds = secondsSince(start);
    figures.peakKb = peakResidentKb();
    return figures;
}

namespace {

// The window's platform as the desktop build has it, except for the message
// box, which records, and the event pump, which times the result rows.
struct WindowPlatform {
    QuietMessages messages;
    QtDialogs dialogs;
    QtClipboard clipboard;
    QtDesktopShell desktop;
    TimingPump events;
    QtAppExit appExit;
    QTemporaryDir settingsFolder;
    QSettingsStore settings{settingsFolder.filePath(QStringLiteral("settings.ini"))};
    PosixFileSystem fileSystem;
    NativePhotoshopLink photoshop{desktop, readAheadFromEnvironment(), userCacheReader()};
    NoSpreadsheet spreadsheet;
    QtDocumentThumbnails thumbnails;
    Platform platform{messages,   dialogs,   dialogs,     dialogs, clipboard, settings,  desktop,
                      fileSystem, photoshop, spreadsheet, events,  appExit,   thumbnails};
    QTemporaryDir appFolder;
    Form1 form{platform, appFolder.path()};

    WindowPlatform() {
        form.setRandomDraw([] { return 1; });
        form.Form_Load();
        form.showCentred();
        QCoreApplication::processEvents();
    }
};

} // namespace

RunFigures runIdleEvents(int calls) {
    WindowPlatform window;
    RunFigures figures;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < calls; ++i) window.platform.events.processEvents();
    figures.seconds = secondsSince(start);
    figures.rows = calls;
    figures.peakKb = peakResidentKb();
    return figures;
}

RunFigures runWindow(const QStringList& paths, const QString& searchText) {
    WindowPlatform window;
    Form1& form = window.form;
    TimingPump& events = window.events;
    QuietMessages& messages = window.messages;
    for (const QString& path : paths) form.ListView1->items().addItem(path);
    form.Text1->setText(searchText);
    QCoreApplication::processEvents();

    events.results = &form.ListView2->items();
    const double cpuBefore = cpuSeconds(RUSAGE_SELF), windowCpuBefore = cpuSeconds(RUSAGE_THREAD);
    const Clock::time_point start = Clock::now();
    events.lastMark = start;
    events.lastReturn = start;
    form.PushButton7->click();
    const double cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore, windowCpu = cpuSeconds(RUSAGE_THREAD) - windowCpuBefore;

    RunFigures figures;
    figures.seconds = messages.done ? std::chrono::duration<double>(*messages.done - start).count() : -1;
    figures.rows = form.ListView2->items().itemCount();
    figures.blockSeconds = events.blockSeconds;
    figures.longestFreeze = std::chrono::duration<double>(events.longestGap).count();
    figures.errors = messages.others; // one error report per unreadable document
    figures.cpuSeconds = cpu;
    figures.windowCpuSeconds = windowCpu;
    QCoreApplication::processEvents();
    figures.peakKb = peakResidentKb();
    return figures;
}

} // namespace hv::bench
