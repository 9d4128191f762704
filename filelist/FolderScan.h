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

// The folder scan (module AddFolder): collects a folder tree level by level
// and appends the matching files of every folder to the file list.
//
// A folder reached a second time in the same scan (a symbolic-link loop, two
// links to one folder) is not walked again, so a scan always ends and lists
// every file of the tree once.
class FolderScan {
public:
    FolderScan(FileSystem& fileSystem, EventPump& events, MessageBox& messages, ListViewModel& fileList);

    // AddFolderFiles: appends every file of the tree below `topFolder` whose
    // name matches `pattern`, folder by folder in level order, skipping
    // names that begin with "~" and files whose attribute value is exactly
    // hidden + archive (34).
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
