#pragma once

#include "platform/FileSystem.h"

#include <QStringList>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace hv::find {

// The file system as the folder walk sees it: listings show only the files
// named *.EXT for the wanted extensions (so that the scan looks at no other
// file), and every folder whose listing failed is told to `failure`, which
// may be called from any thread the scan uses, one call at a time.
class WalkFileSystem final : public FileSystem {
public:
    using FolderFailure = std::function<void(const QString& folder, const QString& reason)>;

    WalkFileSystem(FileSystem& inner, const std::vector<std::string>& extensions, FolderFailure failure);

    bool isExistingPath(const QString& path) override { return inner_.isExistingPath(path); }
    PathStyle pathStyle() const override { return inner_.pathStyle(); }
    qsizetype pathLengthLimit() const override { return inner_.pathLengthLimit(); }
    qsizetype pathLength(const QString& path) const override { return inner_.pathLength(path); }
    int attributes(const QString& path) override { return inner_.attributes(path); }
    bool isExistingFile(const QString& path) override { return inner_.isExistingFile(path); }
    bool isRootFolder(const QString& path) override { return inner_.isRootFolder(path); }
    std::optional<FolderId> folderId(const QString& path) override { return inner_.folderId(path); }
    SubFolderListing subFolders(const QString& folder) override;
    QStringList filesMatching(const QString& folder, const QString& pattern) override;

private:
    FileSystem& inner_;
    QStringList patterns_; // empty: every file
    FolderFailure failure_;
    std::mutex failureMutex_;
};

} // namespace hv::find
