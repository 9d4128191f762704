#pragma once

#include <QString>

namespace hv {

class DesktopShell;
class FileSystem;
class FolderScan;
class ListViewModel;
class MessageBox;

inline constexpr const char* kSampleFolderQuestion =
    "Would you like this software to open the folder where these sample files are stored (so that you can view "
    "them before working with them)?";

// True when some row's text equals `path` exactly (case-sensitive).
bool isInFileList(const ListViewModel& fileList, const QString& path);

// The sample documents installed in the "Samples" folder beside the program
// (LoadSampleFiles).
class SampleFiles {
public:
    SampleFiles(FileSystem& fileSystem, FolderScan& scan, MessageBox& messages, DesktopShell& desktop,
                ListViewModel& fileList, QString appFolder);

    QString folder() const;
    // Appends every sample not yet listed, then asks whether to open the
    // sample folder and opens it on Yes.
    void load();

private:
    FileSystem& fileSystem_;
    FolderScan& scan_;
    MessageBox& messages_;
    DesktopShell& desktop_;
    ListViewModel& fileList_;
    QString appFolder_;
};

} // namespace hv
