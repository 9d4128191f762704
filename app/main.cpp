#include "platform/Platform.h"
#include "platform/qt/NativePhotoshopLink.h"
#include "platform/qt/PosixFileSystem.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtDocumentThumbnails.h"
#include "platform/qt/XlsxSpreadsheetLink.h"
#include "shell/Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvorine"));

    hv::QtDialogs dialogs;
    hv::QtClipboard clipboard;
    hv::QtDesktopShell desktop;
    hv::QtEventPump events;
    hv::QtAppExit appExit;
    hv::QSettingsStore settings;
    hv::PosixFileSystem fileSystem;
    hv::NativePhotoshopLink photoshop(desktop);
    hv::XlsxSpreadsheetLink spreadsheet(desktop);
    hv::QtDocumentThumbnails thumbnails;
    hv::Platform platform{dialogs,    dialogs,   dialogs,     dialogs, clipboard, settings,  desktop,
                          fileSystem, photoshop, spreadsheet, events,  appExit,   thumbnails};

    hv::Form1 form(platform, QCoreApplication::applicationDirPath());
    dialogs.setOwner(&form);
    form.Form_Load();
    form.showCentred();
    return QApplication::exec();
}
