#include "SampleFiles.h"

#include "FolderScan.h"
#include "platform/DesktopShell.h"
#include "platform/FileSystem.h"
#include "widgets/ListView.h"
#include "platform/MessageBox.h"

namespace hv {

bool isInFileList(const ListViewModel& fileList, const QString& path) {
    for (int row = 1; row <= fileList.itemCount(); ++row)
        if (fileList.itemText(row) == path) return true;
    return false;
}

SampleFiles::SampleFiles(FileSystem& fileSystem, FolderScan& scan, MessageBox& messages, DesktopShell& desktop,
                         ListViewModel& fileList, QString appFolder)
    : fileSystem_(fileSystem),
      scan_(scan),
      messages_(messages),
      desktop_(desktop),
      fileList_(fileList),
      appFolder_(std::move(appFolder)) {}

QString SampleFiles::folder() const {
    return appFolder_ + fileSystem_.separator() + QStringLiteral("Samples");
}

void SampleFiles::load() {
    const QString samples = folder() + fileSystem_.separator();
    for (const QString& name : scan_.listFilesInFolder(folder(), QStringLiteral("*.*"))) {
        const QString path = samples + name;
        if (fileSystem_.isExistingPath(path) && !isInFileList(fileList_, path)) fileList_.addItem(path);
    }
    if (messages_.show(question(QString::fromLatin1(kSampleFolderQuestion))) == MessageAnswer::Yes)
        desktop_.openFolder(samples);
}

} // namespace hv
