#pragma once

#include "platform/FileSystem.h"

namespace hv {

// The file system of this machine. Paths are "/"-separated and encoded in
// UTF-8. Attribute values follow the Windows flags they stand in for:
// read-only when the user may not write the entry (for the superuser, who
// may write anything, when no one has write permission), hidden when its
// name begins with ".", system never, folder for a directory, archive for
// every regular file, alias for a symbolic link; the kind of entry is the
// kind of the link's target.
class PosixFileSystem : public FileSystem {
public:
    PosixFileSystem();

    bool isExistingPath(const QString& path) override;

    PathStyle pathStyle() const override { return PathStyle::Posix; }
    qsizetype pathLengthLimit() const override;
    qsizetype pathLength(const QString& path) const override;

    int attributes(const QString& path) override;
    bool isExistingFile(const QString& path) override;
    bool isRootFolder(const QString& path) override;
    std::optional<FolderId> folderId(const QString& path) override;
    SubFolderListing subFolders(const QString& folder) override;
    QStringList filesMatching(const QString& folder, const QString& pattern) override;

private:
    bool superuser_; // the effective user when the object was made
};

} // namespace hv
