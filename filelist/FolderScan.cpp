#include "FolderScan.h"

#include "FolderScanTree.h"
#include "SubDirectoryWalk.h"
#include "core/BuildInfo.h"
#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/FileSystem.h"

namespace hv {

namespace {

// The scan's output in the window: the file list, the error report of
// GetSubDirectories2016, and the caller's report.
class FileListOutput final : public FolderScanOutput {
public:
    FileListOutput(MessageBox& messages, ListViewModel* fileList, ScanFailureReport report)
        : trap_(messages, QStringLiteral("AddFolder"), QStringLiteral("GetSubDirectories2016"),
                QString::fromLatin1(kScanTag)),
          fileList_(fileList),
          report_(std::move(report)) {}

    void found(const QString& path) override {
        if (fileList_) fileList_->addItem(path);
    }
    void failed(const ScanFailure& failure) override {
        switch (failure.kind) {
        case ScanFailure::Kind::Listing: break;
        case ScanFailure::Kind::Statement: trap_.report(failure.statement, failure.reason); break;
        case ScanFailure::Kind::File:
            if (report_) report_(failure.reason);
            break;
        }
    }

private:
    ErrorTrap trap_;
    ListViewModel* fileList_;
    const ScanFailureReport report_;
};

} // namespace

FolderScan::FolderScan(FileSystem& fileSystem, EventPump& events, MessageBox& messages, ListViewModel& fileList)
    : fileSystem_(fileSystem),
      events_(events),
      messages_(messages),
      fileList_(fileList) {}

void FolderScan::addFolderFiles(const QString& topFolder, const QString& pattern, const ScanFailureReport& report) {
    FileListOutput output(messages_, &fileList_, report);
    scanFolderTree(fileSystem_, events_, output, topFolder, pattern);
}

void FolderScan::getSubDirectories(std::vector<QString>& folders) {
    FileListOutput output(messages_, nullptr, ScanFailureReport());
    SubDirectoryWalk(fileSystem_, events_, output).run(folders);
}

QStringList FolderScan::listFilesInFolder(QString folder, const QString& pattern) {
    const QChar separator = fileSystem_.separator();
    if (!folder.endsWith(separator)) folder += separator;
    QStringList names;
    for (const QString& name : fileSystem_.filesMatching(folder, pattern))
        if (fileSystem_.isExistingFile(folder + name)) names.append(name);
    return names;
}

} // namespace hv
