// The search run's speed and memory: from the click on "Start Searching" to
// "Done." through the real main window offscreen, next to the layer reader
// alone and the document link alone on the same documents.
//
//   bench_search [--documents N] [--layers L] [--corpus FOLDER]
//       generated documents (2000 x 50 by default), written once and kept
//   bench_search --real FOLDER
//       every .psd/.psb under FOLDER, as they are; unreadable ones are
//       counted as errors and never void a run
//   --text TEXT      the text of the last run (default "logo")
//   --read-ahead K   sets HALVORINE_READ_AHEAD=K for the runs
//   --window-only    only the last run (for slow shares)
//   --cache-dir DIR  the last run searches through the layer cache kept
//                    under DIR (as XDG_CACHE_HOME); every other run, and
//                    every run without it, reads every document
//   --cache-runs     after the last run, a first and a repeated search
//                    through a new layer cache, next to the status floor (a
//                    status request per document, 64 in flight)
//
// The line before the last gives that run's longest freeze (the longest time
// it went without letting the window's events run) and its processor time,
// in all and on the window's thread.
// The last line is always the window run over all documents with TEXT:
//   click-to-done SECONDS documents N rows R errors E
// (SECONDS is -1 when the run did not reach "Done.").
//
// Each figure comes from its own child process, so that its peak memory is
// its own.
#include "BenchCorpus.h"
#include "BenchRuns.h"
#include "CacheRuns.h"
#include "psd/ReadAheadPolicy.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using hv::bench::RunFigures;

QString figuresLine(const RunFigures& f) {
    QStringList blocks;
    for (double s : f.blockSeconds) blocks << QString::number(s, 'f', 4);
    return QStringLiteral("RESULT %1 %2 %3 %4 %5 %6 %7 %8")
        .arg(f.seconds, 0, 'f', 4)
        .arg(f.rows)
        .arg(f.peakKb)
        .arg(f.errors)
        .arg(f.longestFreeze, 0, 'f', 4)
        .arg(blocks.join(','))
        .arg(f.cpuSeconds, 0, 'f', 3)
        .arg(f.windowCpuSeconds, 0, 'f', 3);
}

RunFigures parseFigures(const QString& output) {
    RunFigures f;
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QStringLiteral("RESULT "))) continue;
        const QStringList parts = line.split(QLatin1Char(' '));
        f.seconds = parts.value(1).toDouble();
        f.rows = parts.value(2).toLongLong();
        f.peakKb = parts.value(3).toLong();
        f.errors = parts.value(4).toLongLong();
        f.longestFreeze = parts.value(5).toDouble();
        for (const QString& s : parts.value(6).split(QLatin1Char(','), Qt::SkipEmptyParts))
            f.blockSeconds.push_back(s.toDouble());
        f.cpuSeconds = parts.value(7).toDouble();
        f.windowCpuSeconds = parts.value(8).toDouble();
    }
    return f;
}

int child(const QString& mode, const QStringList& paths, const QString& text) {
    RunFigures f;
    if (mode == QStringLiteral("reader"))
        f = hv::bench::runReaderAlone(paths);
    else if (mode == QStringLiteral("link"))
        f = hv::bench::runLinkAlone(paths, text);
    else if (mode == QStringLiteral("idle"))
        f = hv::bench::runIdleEvents(100000);
    else
        f = hv::bench::runWindow(paths, text);
    std::printf("%s\n", qPrintable(figuresLine(f)));
    return f.seconds < 0 ? 1 : 0;
}

// Runs one measurement in a child process over the first `count` documents.
RunFigures spawn(const QStringList& corpusArguments, const QString& mode, int count, const QString& text) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  corpusArguments
                      + QStringList{QStringLiteral("--child"), mode, QStringLiteral("--count"), QString::number(count),
                                    QStringLiteral("--text"), text});
    process.waitForFinished(-1);
    RunFigures f = parseFigures(QString::fromUtf8(process.readAllStandardOutput()));
    if (process.exitCode() != 0 || f.seconds <= 0) {
        std::fprintf(stderr, "the %s run over %d documents failed\n", qPrintable(mode), count);
        f.seconds = -1;
    }
    return f;
}

void printRow(const char* what, int documents, const RunFigures& f) {
    std::printf("%-28s %6d %9.3f %10.0f %12.0f %9.1f %6lld\n", what, documents, f.seconds, documents / f.seconds,
                static_cast<double>(f.rows) / f.seconds, static_cast<double>(f.peakKb) / 1024.0, f.errors);
}

// The scaling table: each run over 1/8, 1/4, 1/2 and all of the documents.
void printScaling(const QStringList& corpusArguments, int documents) {
    std::printf("\n%-28s %6s %9s %10s %12s %9s %6s\n", "run", "docs", "seconds", "docs/s", "rows/s", "peak MB",
                "errors");
    std::map<int, RunFigures> reader, selective, all;
    for (int count : {documents / 8, documents / 4, documents / 2, documents}) {
        if (count < 1) continue;
        reader[count] = spawn(corpusArguments, QStringLiteral("reader"), count, {});
        printRow("reader alone (items read)", count, reader[count]);
        printRow("link alone, \"logo\"", count, spawn(corpusArguments, QStringLiteral("link"), count, "logo"));
        selective[count] = spawn(corpusArguments, QStringLiteral("window"), count, QStringLiteral("logo"));
        printRow("window, \"logo\"", count, selective[count]);
        all[count] = spawn(corpusArguments, QStringLiteral("window"), count, QString());
        printRow("window, \"\" (every item)", count, all[count]);
    }
    if (all.empty()) return;

    std::printf("\nthe run's cost per document over the reader alone:\n");
    for (const auto& [count, r] : reader) {
        const double reading = r.seconds / count * 1e6;
        const double some = selective[count].seconds / count * 1e6;
        const double every = all[count].seconds / count * 1e6;
        std::printf("  %6d docs: reader %.1f us; window \"logo\" %.1f us (+%.1f us); window \"\" %.1f us (+%.1f us)\n",
                    count, reading, some, some - reading, every, every - reading);
    }

    const RunFigures idle = spawn(corpusArguments, QStringLiteral("idle"), 0, {});
    std::printf("letting events run with nothing pending: %.2f us a time (the run does it once per document and "
                "once per item)\n",
                idle.seconds / static_cast<double>(idle.rows) * 1e6);

    std::printf("\nseconds per block of %d result rows, window \"\" over %d documents:\n ", hv::bench::rowBlock,
                all.rbegin()->first);
    for (double s : all.rbegin()->second.blockSeconds) std::printf(" %.3f", s);
    std::printf("\n");
}

// A search into an empty layer cache, the same search again, and the floor
// of the second; the runs after it read every document again.
void printCacheRuns(const QStringList& corpusArguments, const QStringList& paths, const QString& text) {
    const QTemporaryDir home;
    const int documents = static_cast<int>(paths.size());
    hv::bench::useLayerCache(home.path());
    const RunFigures first = spawn(corpusArguments, QStringLiteral("window"), documents, text);
    const RunFigures repeated = spawn(corpusArguments, QStringLiteral("window"), documents, text);
    hv::bench::readEveryDocument();
    const double floor = hv::bench::statFloor(paths, 64);
    std::printf("\nlayer cache, window \"%s\", all documents:\n", qPrintable(text));
    std::printf("  first search (empty cache)      %8.3f s\n", first.seconds);
    std::printf("  repeated search (same cache)    %8.3f s\n", repeated.seconds);
    std::printf("  status floor (64 in flight)     %8.3f s\n", floor);
    std::printf("  cache size                      %8.1f MB, %.1f MB per 1,000 documents\n",
                static_cast<double>(hv::bench::folderBytes(home.path())) / 1e6,
                static_cast<double>(hv::bench::folderBytes(home.path())) / 1e3 / std::max(documents, 1));
}

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    hv::psd::returnLargeBuffersWhenFreed(); // as the window does
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption documentsOption(QStringLiteral("documents"), QStringLiteral("documents to generate"),
                                             QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption layersOption(QStringLiteral("layers"), QStringLiteral("layers per document"),
                                          QStringLiteral("L"), QStringLiteral("50"));
    const QCommandLineOption corpusOption(QStringLiteral("corpus"), QStringLiteral("folder of the generated documents"),
                                          QStringLiteral("FOLDER"));
    const QCommandLineOption realOption(QStringLiteral("real"), QStringLiteral("search existing documents instead"),
                                        QStringLiteral("FOLDER"));
    const QCommandLineOption childOption(QStringLiteral("child"), QStringLiteral("internal"), QStringLiteral("MODE"));
    const QCommandLineOption countOption(QStringLiteral("count"), QStringLiteral("internal"), QStringLiteral("N"));
    const QCommandLineOption textOption(QStringLiteral("text"), QStringLiteral("search text of the last run"),
                                        QStringLiteral("TEXT"), QStringLiteral("logo"));
    const QCommandLineOption readAheadOption(QStringLiteral("read-ahead"),
                                             QStringLiteral("documents read ahead (HALVORINE_READ_AHEAD)"),
                                             QStringLiteral("K"));
    const QCommandLineOption windowOnlyOption(QStringLiteral("window-only"),
                                              QStringLiteral("only the last run, over all documents"));
    const QCommandLineOption cacheDirOption(QStringLiteral("cache-dir"),
                                            QStringLiteral("the last run searches through the layer cache under DIR"),
                                            QStringLiteral("DIR"));
    const QCommandLineOption cacheRunsOption(QStringLiteral("cache-runs"),
                                             QStringLiteral("a first and a repeated search through a new layer cache"));
    parser.addOptions({documentsOption, layersOption, corpusOption, realOption, childOption, countOption, textOption,
                       readAheadOption, windowOnlyOption, cacheDirOption, cacheRunsOption});
    parser.addHelpOption();
    parser.process(app);

    const int layers = parser.value(layersOption).toInt();
    int documents = parser.value(documentsOption).toInt();
    const QString corpus =
        parser.isSet(corpusOption)
            ? parser.value(corpusOption)
            : QDir::tempPath() + QStringLiteral("/halvorine-search-bench-%1x%2").arg(documents).arg(layers);
    QStringList corpusArguments;
    QStringList paths;
    if (parser.isSet(realOption)) {
        corpusArguments = {QStringLiteral("--real"), parser.value(realOption)};
        paths = hv::bench::findDocuments(parser.value(realOption));
    } else {
        corpusArguments = {QStringLiteral("--corpus"),    corpus,
                           QStringLiteral("--documents"), QString::number(documents),
                           QStringLiteral("--layers"),    QString::number(layers)};
        paths = hv::bench::writeBenchCorpus(corpus, documents, layers);
    }

    if (parser.isSet(childOption))
        return child(parser.value(childOption), paths.mid(0, parser.value(countOption).toInt()),
                     parser.value(textOption));

    documents = static_cast<int>(paths.size());
    hv::bench::readEveryDocument();
    if (parser.isSet(readAheadOption)) {
        qputenv("HALVORINE_READ_AHEAD", parser.value(readAheadOption).toUtf8());
        std::printf("read-ahead: HALVORINE_READ_AHEAD=%s\n", qPrintable(parser.value(readAheadOption)));
    }
    if (parser.isSet(realOption))
        std::printf("documents: every .psd/.psb under %s (%d)\n", qPrintable(parser.value(realOption)), documents);
    else
        std::printf("documents: %s (%d documents x %d layers)\n", qPrintable(corpus), documents, layers);
    if (!parser.isSet(windowOnlyOption)) {
        hv::bench::runReaderAlone(paths); // warms the page cache
        printScaling(corpusArguments, documents);
    }

    const QString text = parser.value(textOption);
    if (parser.isSet(cacheRunsOption)) printCacheRuns(corpusArguments, paths, text);
    if (parser.isSet(cacheDirOption)) hv::bench::useLayerCache(parser.value(cacheDirOption));
    const RunFigures last = spawn(corpusArguments, QStringLiteral("window"), documents, text);
    if (parser.isSet(cacheDirOption))
        std::printf("layer cache: %.1f MB for %d documents\n",
                    static_cast<double>(hv::bench::folderBytes(parser.value(cacheDirOption))) / 1e6, documents);
    std::printf("\nwindow, \"%s\", all documents (longest freeze %.1f ms; processor %.3f s, %.3f s of it on the "
                "window's thread):\n",
                qPrintable(text), last.longestFreeze * 1000, last.cpuSeconds, last.windowCpuSeconds);
    std::printf("click-to-done %.3f documents %d rows %lld errors %lld\n", last.seconds, documents, last.rows,
                last.errors);
    return last.seconds < 0 ? 1 : 0;
}
