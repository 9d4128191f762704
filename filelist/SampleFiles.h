#pragma once

#include <QString>

#include <functional>

namespace hv {

class DesktopShell;
class ErrorTrap;
class FileSystem;
class FolderScan;
class ListViewModel;
class MessageBox;

inline constexpr const char* kSampleFolderQuestion =
    "Would you like this software to open the folder where these sample files are stored (so that you can view "
    "them before working with them)?";
// The search text "Load Sample/Example Files" leaves in the search box.
inline constexpr const char* kSampleSearchText = "Layer";

// True when some row's text equals `path` exactly (case-sensitive).
bool isInFileList(const ListViewModel& fileList, const QString& path);

// "Load Sample/Example Files": the sample documents installed in the
// "Samples" folder beside the program (LoadSampleFiles), then a search text
// that finds their layers.
class SampleFiles {
public:
    SampleFiles(FileSystem& fileSystem, FolderScan& scan, MessageBox& messages, DesktopShell& desktop,
                ListViewModel& fileList, QString appFolder, QString appTitle);

    QString folder() const;
    // Appends every sample not yet listed, then asks whether to open the
    // sample folder and opens it on Yes.
    void load();
    // The command: load() and then `setSearchText`, each as a statement of
    // the caller's error trap.
    void run(ErrorTrap& trap, const std::function<void(const QString&)>& setSearchText);

private:
    FileSystem& fileSystem_;
    FolderScan& scan_;
    MessageBox& messages_;
    DesktopShell& desktop_;
    ListViewModel& fileList_;
    QString appFolder_;
    QString appTitle_;
};

} // namespace hv
