// Folder scan benchmark: writes a tree of 10 x 10 x 10 x 10 leaf folders
// holding 10 files each (100,000 files in 10,000 folders) and scans it as
// "Add All PSD File(s) In Folder" does, after a tenth-size warm-up tree that
// shows whether the cost per file stays flat as the tree grows.
//
//     bench_folder_scan [work-folder] [--threads N]
//
// The trees are written below the work folder (default: a new temporary
// folder) and removed at the end.
//
//     bench_folder_scan --write FOLDER     writes the tenth-size tree (10,000
//                                          files, 8,000 of them .PSD) there
//     bench_folder_scan --real FOLDER      scans an existing tree as "Add All
//                                          PSD File(s) In Folder" with "*.psd"
//                                          and prints its last line as
//                                          folder-scan seconds S files F
//                                          event-pumps P threads N
//
// --threads N: how many queries of the file system are made at once
// (default PosixFileSystem::defaultQueryThreads; 1 asks one after the other).

#include "core/ListViewModel.h"
#include "filelist/FolderScan.h"
#include "platform/MessageBox.h"
#include "platform/qt/PosixFileSystem.h"
#include "platform/qt/QtDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFilesPerFolder = 10;

class PrintedMessages : public hv::MessageBox {
public:
    hv::MessageAnswer show(const hv::Message& message) override {
        std::printf("message: %s\n", qPrintable(message.text));
        return hv::MessageAnswer::Ok;
    }
};

// Counts the event pump's calls and lets the events run.
class CountingPump : public hv::QtEventPump {
public:
    void processEvents() override {
        ++calls;
        QtEventPump::processEvents();
    }
    long calls = 0;
};

bool makeFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

// Writes `top` with `firstLevel` folders, each holding three levels of ten
// folders below it; the deepest folders get the files. Returns the number
// of files.
long writeTree(const QString& top, int firstLevel) {
    long files = 0;
    const QByteArray base = QFile::encodeName(top);
    ::mkdir(base.constData(), 0755);
    for (int a = 0; a < firstLevel; ++a) {
        const QByteArray da = base + "/Set " + QByteArray::number(a);
        ::mkdir(da.constData(), 0755);
        for (int b = 0; b < 10; ++b) {
            const QByteArray db = da + "/Group " + QByteArray::number(b);
            ::mkdir(db.constData(), 0755);
            for (int c = 0; c < 10; ++c) {
                const QByteArray dc = db + "/Batch " + QByteArray::number(c);
                ::mkdir(dc.constData(), 0755);
                for (int d = 0; d < 10; ++d) {
                    const QByteArray dd = dc + "/Job " + QByteArray::number(d);
                    ::mkdir(dd.constData(), 0755);
                    for (int f = 0; f < kFilesPerFolder; ++f) {
                        const QByteArray name =
                            dd + "/Layout " + QByteArray::number(f) + (f % 5 == 4 ? ".txt" : ".PSD");
                        if (!makeFile(name)) {
                            std::fprintf(stderr, "cannot write %s\n", name.constData());
                            std::exit(1);
                        }
                        ++files;
                    }
                }
            }
        }
    }
    return files;
}

struct Figures {
    long rows = 0;
    long pumps = 0;
    double seconds = 0;
};

std::size_t queryThreads = hv::PosixFileSystem::defaultQueryThreads;

Figures scan(const QString& top, const QString& pattern) {
    hv::PosixFileSystem fileSystem(queryThreads);
    CountingPump events;
    PrintedMessages messages;
    hv::ListViewModel fileList(false);
    fileList.addColumn(QStringLiteral("Photoshop File(s)"));
    hv::FolderScan folderScan(fileSystem, events, messages, fileList);
    QElapsedTimer timer;
    timer.start();
    folderScan.addFolderFiles(
        top, pattern, [](const QString& description) { std::printf("failure: %s\n", qPrintable(description)); });
    return {fileList.itemCount(), events.calls, static_cast<double>(timer.nsecsElapsed()) / 1e9};
}

void report(const char* label, long files, const Figures& figures) {
    std::printf("%-28s %7ld files on disk  %7ld rows  %6ld event pumps  %7.3f s  %9.0f files/s  %6.2f us/file\n", label,
                files, figures.rows, figures.pumps, figures.seconds, static_cast<double>(files) / figures.seconds,
                figures.seconds * 1e6 / static_cast<double>(files));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc >= 3 && std::strcmp(argv[argc - 2], "--threads") == 0) {
        queryThreads = std::strtoul(argv[argc - 1], nullptr, 10);
        argc -= 2;
    }
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        std::printf("wrote %ld files\n", writeTree(QString::fromLocal8Bit(argv[2]), 1));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--real") == 0) {
        const Figures figures = scan(QString::fromLocal8Bit(argv[2]), QStringLiteral("*.psd"));
        std::printf("folder-scan seconds %.3f files %ld event-pumps %ld threads %zu\n", figures.seconds, figures.rows,
                    figures.pumps, queryThreads);
        return 0;
    }
    std::unique_ptr<QTemporaryDir> temporary;
    QString work;
    if (argc > 1) {
        work = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/halvorine-folderscan-bench");
    } else {
        temporary = std::make_unique<QTemporaryDir>();
        work = temporary->path();
    }
    QDir().mkpath(work);

    std::printf("writing the trees in %s (%zu query threads) ...\n", qPrintable(work), queryThreads);
    const QString small = work + QStringLiteral("/small");
    const QString large = work + QStringLiteral("/large");
    const long smallFiles = writeTree(small, 1);  // 1,000 leaf folders, 10,000 files
    const long largeFiles = writeTree(large, 10); // 10,000 leaf folders, 100,000 files

    report("tenth-size tree, *.psd", smallFiles, scan(small, QStringLiteral("*.psd")));
    const Figures psd = scan(large, QStringLiteral("*.psd"));
    report("full tree, *.psd", largeFiles, psd);
    const Figures all = scan(large, QStringLiteral("*.*"));
    report("full tree, *.* (a dropped folder)", largeFiles, all);

    if (argc > 1) QDir(work).removeRecursively();
    return psd.rows == largeFiles * 4 / 5 && all.rows == largeFiles ? 0 : 1;
}
