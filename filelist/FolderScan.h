#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace hv {

class EventPump;
class FileSystem;
class ListViewModel;
class MessageBox;

// Where AddFolderFiles sends a failure of one of its own statements: the
// caller's error report, or nowhere. The scan then goes on.
using ScanFailureReport = std::function<void(const QString& description)>;

// The folder scan of the window (module AddFolder): runs scanFolderTree()
// and appends the files it finds to the file list; failures of
// GetSubDirectories2016's statements show its error report, those of
// AddFolderFiles go to the caller's report, and folders that cannot be listed
// are passed over without a word.
class FolderScan {
public:
    FolderScan(FileSystem& fileSystem, EventPump& events, MessageBox& messages, ListViewModel& fileList);

    // AddFolderFiles: appends every file of the tree below `topFolder` whose
    // name matches `pattern` (see scanFolderTree()).
    void addFolderFiles(const QString& topFolder, const QString& pattern, const ScanFailureReport& report);

    // GetSubDirectories2016, asking for all levels. Every entry ends in the
    // separator. Appends the sub-folders of the listed folders level by
    // level; removes an entry whose listing was refused (70) or whose path
    // was not found (76). Failures of its own statements show the error
    // report of "Quorlane...AddFolder.GetSubDirectories2016".
    void getSubDirectories(std::vector<QString>& folders);

    // ListFilesInFolder: the names of the existing regular files in `folder`
    // that match `pattern`, hidden ones included, in listing order.
    QStringList listFilesInFolder(QString folder, const QString& pattern);

private:
    FileSystem& fileSystem_;
    EventPump& events_;
    MessageBox& messages_;
    ListViewModel& fileList_;
};

} // namespace hv
