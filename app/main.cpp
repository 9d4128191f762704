#include "platform/Platform.h"
#include "platform/PhotoshopLink.h"
#include "platform/PosixFileSystem.h"
#include "platform/QtDesktop.h"
#include "platform/QtDialogs.h"
#include "platform/SpreadsheetLink.h"
#include "platform/Failure.h"
#include "shell/Form1.h"
#include "shell/QSettingsStore.h"

#include <QApplication>

namespace {

// Stand-ins until the document reader and the workbook writer are linked in.
class NoPhotoshop : public hv::PhotoshopLink {
public:
    std::unique_ptr<hv::PhotoshopApplication> create() override { throw hv::Failure("ActiveX component can't create object"); }
};
class NoSpreadsheet : public hv::SpreadsheetLink {
public:
    std::unique_ptr<hv::SpreadsheetApplication> create() override { throw hv::Failure("ActiveX component can't create object"); }
};

} // namespace

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
    NoPhotoshop photoshop;
    NoSpreadsheet spreadsheet;
    hv::Platform platform{dialogs,    dialogs,     dialogs, dialogs, clipboard, settings,
                          desktop,    fileSystem,  photoshop, spreadsheet, events, appExit};

    hv::Form1 form(platform, QCoreApplication::applicationDirPath());
    dialogs.setOwner(&form);
    form.Form_Load();
    form.showCentred();
    return QApplication::exec();
}
