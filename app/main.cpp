#include "CommandLine.h"
#include "CompanionFolder.h"
#include "ConsoleMessages.h"
#include "DisplayCheck.h"
#include "FileListArguments.h"
#include "StoredPictures.h"
#include "cache/CachedReader.h"
#include "platform/PathBytes.h"
#include "platform/Platform.h"
#include "platform/qt/NativePhotoshopLink.h"
#include "platform/qt/PosixFileSystem.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtDocumentThumbnails.h"
#include "platform/qt/XlsxSpreadsheetLink.h"
#include "psd/ReadAheadPolicy.h"
#include "shell/Form1.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Halvorine"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HALVORINE_VERSION));
}

// The user's layer cache, none when it is turned off. It warns on stderr at
// most once, and its last entries are written as the program ends.
std::shared_ptr<hv::cache::LayerCache> openLayerCache() {
    std::shared_ptr<hv::cache::LayerCache> cache = hv::cache::openUserCacheWarningOnStderr("halvorine");
    hv::QtAppExit::setBeforeEnd([cache] { hv::cache::LayerCache::flushBeforeExit(cache, std::chrono::seconds(2)); });
    return cache;
}

} // namespace

int main(int argc, char* argv[]) {
    std::signal(SIGXFSZ, SIG_IGN); // past a file-size limit a write fails instead of ending the window
    if (hv::answersWithoutWindow(hv::rawArguments(argc, argv))) {
        QCoreApplication app(argc, argv);
        nameApplication();
        return hv::answerWithoutWindow(hv::readCommandLine(QCoreApplication::arguments(), QDir::currentPath()));
    }
    hv::DisplayCheck displayCheck("halvorine");
    QApplication app(argc, argv);
    displayCheck.done();
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(HALVORINE_APP_ID));
    // QApplication took its own options out of argv; paths keep every byte.
    const hv::StartRequest request = hv::readCommandLine(hv::rawArguments(argc, argv), QDir::currentPath());
    if (request.kind != hv::StartRequest::Kind::Window) return hv::answerWithoutWindow(request);
    const QString companions =
        hv::companionFolder(QCoreApplication::applicationDirPath(), QStringLiteral(HALVORINE_INSTALLED_COMPANIONS));
    if (request.printCompanionFolder) {
        QTextStream(stdout) << companions << '\n';
        return 0;
    }

    hv::QtDialogs dialogs;
    hv::QtClipboard clipboard;
    hv::QtDesktopShell desktop;
    hv::QtEventPump events;
    hv::QtAppExit appExit;
    hv::QSettingsStore settings;
    hv::PosixFileSystem fileSystem;
    hv::psd::returnLargeBuffersWhenFreed();
    std::string readAheadWarning;
    const hv::psd::ReadAheadPolicy readAhead =
        hv::psd::readAheadPolicy(std::getenv("HALVORINE_READ_AHEAD"), readAheadWarning);
    if (!readAheadWarning.empty()) QTextStream(stderr) << "halvorine: " << readAheadWarning.c_str() << '\n';
    const std::shared_ptr<hv::cache::LayerCache> layerCache = openLayerCache();
    hv::NativePhotoshopLink photoshop(desktop, readAhead,
                                      hv::cache::cachedReader(hv::psd::ReadAhead::meteredLayerReader(), layerCache));
    hv::XlsxSpreadsheetLink spreadsheet(desktop);
    hv::QtDocumentThumbnails thumbnails(hv::QtDocumentThumbnails::defaultKeptBytes,
                                        hv::QtDocumentThumbnails::readThumbnail, hv::storedPictures(layerCache));
    hv::ConsoleMessages console;
    hv::MessageBox& messages = request.printFileList ? static_cast<hv::MessageBox&>(console) : dialogs;
    hv::Platform platform{messages,   dialogs,   dialogs,     dialogs, clipboard, settings,  desktop,
                          fileSystem, photoshop, spreadsheet, events,  appExit,   thumbnails};

    hv::Form1 form(platform, companions);
    dialogs.setOwner(&form);
    if (request.printFileList) form.setRandomDraw([] { return 0; }); // never the home page
    form.Form_Load();
    if (request.printFileList) {
        hv::dropOnFileList(form, request.paths);
        for (const QString& row : hv::fileListRows(form)) std::fputs((hv::pathBytes(row) + '\n').constData(), stdout);
        return 0;
    }
    form.showCentred();
    hv::dropOnFileList(form, request.paths); // on the shown window: a long scan keeps it responsive
    // The window goes before anything could wait: no destructor runs after
    // the event loop (read-ahead and scan workers may be held by a dead share).
    hv::QtAppExit::endProgram(QApplication::exec());
}
