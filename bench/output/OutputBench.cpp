// Speed and memory of the result exports on a large results list:
// the text file of 100,000 checked rows and the workbook of 100,000 rows.
// Each case runs in a child process of its own, so its peak memory is its
// own. Usage: bench_output [text|workbook] [rows]
#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "output/ListTextExport.h"
#include "output/ResultsWorkbook.h"
#include "platform/DesktopShell.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/XlsxSpreadsheetLink.h"
#include "widgets/ProgressBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Processor time (user and system) spent so far, in seconds.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class CountingMessages : public hv::MessageBox {
public:
    hv::MessageAnswer show(const hv::Message& message) override {
        ++count;
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
        return hv::MessageAnswer::Ok;
    }
    int count = 0;
};

class NoDesktop : public hv::DesktopShell {
public:
    bool openUrl(const QString&) override { return true; }
    bool openFolder(const QString&) override { return true; }
    bool openDocument(const QString& path) override {
        opened = path;
        return true;
    }
    QString opened;
};

// Rows as the search makes them: the two cells, and beside them what the
// document link tells of the layer and the document.
hv::RowFacts factsOf(int i) {
    return hv::RowFacts{{static_cast<std::uint32_t>(1000 + i % 7 * 250), 800, 8, QStringLiteral("RGB")},
                        {{QStringLiteral("Client"), QStringLiteral("Variant %1").arg(i % 5)},
                         i % 3 == 0 ? QStringLiteral("text") : QStringLiteral("pixel"),
                         i % 4 != 0}};
}

void fill(hv::ListViewModel& list, int rows) {
    list.addColumn(QStringLiteral("File"));
    list.addColumn(QStringLiteral("Layer Name"));
    for (int i = 1; i <= rows; ++i) {
        const int row = list.addItem(QStringList{QStringLiteral("/home/artist/projects/client-%1/posters/poster-%2.psd")
                                                     .arg(i % 97, 3, 10, QLatin1Char('0'))
                                                     .arg(i, 6, 10, QLatin1Char('0')),
                                                 QStringLiteral("Logo copy %1").arg(i % 250)},
                                     factsOf(i));
        list.setChecked(row, true);
    }
    list.flush();
}

void report(const char* name, int rows, double seconds, double cpu, qint64 bytes, long listKb) {
    std::printf(
        "%-9s rows=%d  seconds=%.3f (cpu %.3f)  rows/s=%.0f  file=%lld bytes  peak RSS=%ld KB (list alone %ld KB)\n",
        name, rows, seconds, cpu, rows / seconds, static_cast<long long>(bytes), peakRssKb(), listKb);
    std::fflush(stdout);
}

int runText(int rows) {
    hv::ListViewModel list(true);
    fill(list, rows);
    const long listKb = peakRssKb();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("results.txt"));
    hv::QtEventPump events;
    CountingMessages messages;
    hv::ProgressBar bar;
    const double cpuStart = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    hv::ListTextExport(list, events, messages, &bar).save(target);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    report("text", rows, seconds, cpuSeconds() - cpuStart, QFileInfo(target).size(), listKb);
    return messages.count == 0 ? 0 : 1;
}

int runWorkbook(int rows) {
    hv::ListViewModel list(true);
    fill(list, rows);
    const long listKb = peakRssKb();
    QTemporaryDir dir;
    NoDesktop desktop;
    hv::XlsxSpreadsheetLink link(desktop, hv::XlsxLinkOptions{[] { return true; }, dir.path(), {}});
    hv::QtEventPump events;
    CountingMessages messages;
    const double cpuStart = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    {
        hv::ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));
        hv::ResultsWorkbook(list, link, events).fill(trap);
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    report("workbook", rows, seconds, cpuSeconds() - cpuStart, QFileInfo(desktop.opened).size(), listKb);
    return messages.count == 0 ? 0 : 1;
}

int runCase(const char* name, int rows, int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (std::strcmp(name, "text") == 0) return runText(rows);
    if (std::strcmp(name, "workbook") == 0) return runWorkbook(rows);
    std::fprintf(stderr, "unknown case %s\n", name);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int rows = argc > 2 ? std::atoi(argv[2]) : 100000;
    if (argc > 1) return runCase(argv[1], rows, argc, argv);
    int status = 0;
    for (const char* name : {"text", "workbook"}) {
        const pid_t child = fork();
        if (child == 0) std::_Exit(runCase(name, rows, argc, argv));
        int childStatus = 0;
        waitpid(child, &childStatus, 0);
        if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) status = 1;
    }
    return status;
}
