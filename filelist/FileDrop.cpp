#include "FileDrop.h"

#include "FolderScan.h"
#include "core/ListViewModel.h"
#include "platform/FileSystem.h"
#include "platform/PathBytes.h"

#include <QMimeData>
#include <QUrl>

namespace hv {

std::optional<QStringList> localFileList(const QMimeData* data) {
    if (!data || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty()) return std::nullopt;
    QStringList paths;
    paths.reserve(urls.size());
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) return std::nullopt;
        QString path = filePathOf(url);
        if (path.isEmpty()) return std::nullopt;
        paths.append(std::move(path));
    }
    return paths;
}

FileDrop::FileDrop(FileSystem& fileSystem, FolderScan& scan, ListViewModel& fileList)
    : fileSystem_(fileSystem),
      scan_(scan),
      fileList_(fileList) {}

void FileDrop::drop(const QStringList& paths) {
    for (const QString& path : paths) {
        if (fileSystem_.isExistingFolder(path))
            scan_.addFolderFiles(path, QStringLiteral("*.*"), ScanFailureReport());
        else
            fileList_.addItem(path);
    }
}

void FileDrop::drop(const QMimeData* data) {
    if (const std::optional<QStringList> paths = localFileList(data)) drop(*paths);
}

} // namespace hv
