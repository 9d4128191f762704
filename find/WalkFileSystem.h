#pragma once

#include "platform/FileSystem.h"

#include <QStringList>

#include <string>
#include <vector>

namespace hv::find {

// The file system as the folder walk sees it: listings show only the files
// named *.EXT for the wanted extensions, so that the scan looks at no other
// file. The scan may ask from several threads at once, as the inner file
// system allows.
class WalkFileSystem final : public FileSystem {
public:
    WalkFileSystem(FileSystem& inner, const std::vector<std::string>& extensions);

    bool isExistingPath(const QString& path) override { return inner_.isExistingPath(path); }
    PathStyle pathStyle() const override { return inner_.pathStyle(); }
    qsizetype pathLengthLimit() const override { return inner_.pathLengthLimit(); }
    qsizetype pathLength(const QString& path) const override { return inner_.pathLength(path); }
    int attributes(const QString& path) override { return inner_.attributes(path); }
    bool isExistingFile(const QString& path) override { return inner_.isExistingFile(path); }
    bool isRootFolder(const QString& path) override { return inner_.isRootFolder(path); }
    std::optional<FolderId> folderId(const QString& path) override { return inner_.folderId(path); }
    FolderListing listFolder(const QString& folder, const QString& filePattern) override;
    std::unique_ptr<QueryRun> startQueries(std::size_t count, QueryJob job) override {
        return inner_.startQueries(count, std::move(job));
    }

private:
    FileSystem& inner_;
    QStringList patterns_; // empty: every file
};

} // namespace hv::find
