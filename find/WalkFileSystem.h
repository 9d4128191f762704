#pragma once

#include "platform/FileSystem.h"

#include <QStringList>

#include <mutex>
#include <string>
#include <vector>

namespace hv::find {

// The file system as the folder walk sees it: listings show only the files
// named *.EXT for the wanted extensions (so that the scan looks at no other
// file), and every folder whose listing failed is kept for takeFolderFailures().
// The scan may ask from several threads at once, as the inner file system
// allows.
class WalkFileSystem final : public FileSystem {
public:
    struct FolderFailure {
        QString folder;
        QString reason;
    };

    WalkFileSystem(FileSystem& inner, const std::vector<std::string>& extensions);

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
    std::unique_ptr<QueryRun> startQueries(std::size_t count, QueryJob job) override {
        return inner_.startQueries(count, std::move(job));
    }

    // The folders whose listing failed since the last call, sorted by path
    // (the scan asks about a level's folders in no fixed order).
    std::vector<FolderFailure> takeFolderFailures();

private:
    FileSystem& inner_;
    QStringList patterns_; // empty: every file
    std::mutex failuresMutex_;
    std::vector<FolderFailure> failures_;
};

} // namespace hv::find
