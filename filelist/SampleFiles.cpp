#include "SampleFiles.h"

#include "FolderScan.h"
#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/DesktopShell.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"

namespace hv {

namespace {

// Statement numbers of "Load Sample/Example Files".
namespace line {
constexpr int kLoad = 100;
constexpr int kSetSearchText = 102;
} // namespace line

} // namespace

bool isInFileList(const ListViewModel& fileList, const QString& path) {
    for (int row = 1; row <= fileList.itemCount(); ++row)
        if (fileList.itemText(row) == path) return true;
    return false;
}

SampleFiles::SampleFiles(FileSystem& fileSystem, FolderScan& scan, MessageBox& messages, DesktopShell& desktop,
                         ListViewModel& fileList, QString appFolder, QString appTitle)
    : fileSystem_(fileSystem),
      scan_(scan),
      messages_(messages),
      desktop_(desktop),
      fileList_(fileList),
      appFolder_(std::move(appFolder)),
      appTitle_(std::move(appTitle)) {}

QString SampleFiles::folder() const {
    return appFolder_ + fileSystem_.separator() + QStringLiteral("Samples");
}

void SampleFiles::load() {
    const QString samples = folder() + fileSystem_.separator();
    for (const QString& name : scan_.listFilesInFolder(folder(), QStringLiteral("*.*"))) {
        const QString path = samples + name;
        if (fileSystem_.isExistingPath(path) && !isInFileList(fileList_, path)) fileList_.addItem(path);
    }
    if (messages_.show(question(QString::fromLatin1(kSampleFolderQuestion), appTitle_)) != MessageAnswer::Yes) return;
    if (!desktop_.openFolder(samples))
        throw Failure(QStringLiteral("The desktop has no application other than this program to open the folder \"%1\"")
                          .arg(samples));
}

void SampleFiles::run(ErrorTrap& trap, const std::function<void(const QString&)>& setSearchText) {
    trap(line::kLoad, [&] { load(); });
    trap(line::kSetSearchText, [&] { setSearchText(QString::fromLatin1(kSampleSearchText)); });
}

} // namespace hv
