#pragma once

#include <QStringList>

#include <optional>

class QMimeData;

namespace hv {

class FileSystem;
class FolderScan;
class ListViewModel;

// The paths of dragged data when it is a list of local files, in the order
// the drag source gives them; nothing for anything else (text, web
// addresses, a mix of local and remote items, an empty list).
std::optional<QStringList> localFileList(const QMimeData* data);

// Adds dropped paths to the file list: a folder is scanned for every file of
// its tree ("*.*"), anything else is appended unchanged.
class FileDrop {
public:
    FileDrop(FileSystem& fileSystem, FolderScan& scan, ListViewModel& fileList);
    void drop(const QStringList& paths);
    // Dropped data that is no list of local files adds nothing.
    void drop(const QMimeData* data);

private:
    FileSystem& fileSystem_;
    FolderScan& scan_;
    ListViewModel& fileList_;
};

} // namespace hv
