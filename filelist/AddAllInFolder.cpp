#include "AddAllInFolder.h"

#include "FolderScan.h"
#include "core/ErrorTrap.h"
#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/SettingsStore.h"
#include "platform/WindowPointer.h"

namespace hv {

namespace {

// Statement numbers of "Add All PSD File(s) In Folder".
namespace line {
constexpr int kAskExtension = 100;
constexpr int kStoreExtension = 104;
constexpr int kAskFolder = 106;
constexpr int kStoreFolder = 110;
constexpr int kHourglass = 112;
constexpr int kScan = 114;
constexpr int kDefaultPointer = 116;
} // namespace line

const char* const kExtensionPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)";
const char* const kFolderPrompt = "Please select folder:";
const QString kExtensionKey = QStringLiteral("Extension");
const QString kLastFolderKey = QStringLiteral("LastFolder");

} // namespace

AddAllInFolder::AddAllInFolder(InputBox& input, FolderBrowser& browser, SettingsStore& settings, FolderScan& scan,
                               WindowPointer& pointer, QString appTitle)
    : input_(input),
      browser_(browser),
      settings_(settings),
      scan_(scan),
      pointer_(pointer),
      appTitle_(std::move(appTitle)) {}

void AddAllInFolder::run(ErrorTrap& trap) {
    const QString extension = askExtension(trap);
    if (extension.isEmpty()) return;
    const QString folder = askFolder(trap);
    if (folder.isEmpty()) return;
    trap(line::kHourglass, [&] { pointer_.setPointer(Pointer::Hourglass); });
    trap(line::kScan, [&] {
        scan_.addFolderFiles(folder, QStringLiteral("*.") + extension,
                             [&](const QString& description) { trap.report(line::kScan, description); });
    });
    trap(line::kDefaultPointer, [&] { pointer_.setPointer(Pointer::Default); });
}

QString AddAllInFolder::askExtension(ErrorTrap& trap) {
    QString extension;
    trap(line::kAskExtension, [&] {
        extension = input_.ask(QString::fromLatin1(kExtensionPrompt), appTitle_,
                               settings_.readSetting(kExtensionKey, QStringLiteral("psd")));
    });
    if (!extension.isEmpty()) trap(line::kStoreExtension, [&] { settings_.writeSetting(kExtensionKey, extension); });
    return extension;
}

QString AddAllInFolder::askFolder(ErrorTrap& trap) {
    QString folder;
    trap(line::kAskFolder, [&] {
        folder = browser_.browse(QString::fromLatin1(kFolderPrompt), settings_.readSetting(kLastFolderKey, QString()));
    });
    if (!folder.isEmpty()) trap(line::kStoreFolder, [&] { settings_.writeSetting(kLastFolderKey, folder); });
    return folder;
}

} // namespace hv
