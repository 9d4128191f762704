#include "WalkFileSystem.h"

#include "core/Wildcard.h"

#include <algorithm>

namespace hv::find {

WalkFileSystem::WalkFileSystem(FileSystem& inner, const std::vector<std::string>& extensions) : inner_(inner) {
    for (const std::string& extension : extensions) {
        const QString pattern = QStringLiteral("*.") + QString::fromUtf8(extension.data(), qsizetype(extension.size()));
        // "*.*" matches every name: no other pattern can add to it.
        if (pattern == QLatin1String("*.*")) {
            patterns_.clear();
            break;
        }
        patterns_.append(pattern);
    }
}

FolderListing WalkFileSystem::listFolder(const QString& folder, const QString& filePattern) {
    FolderListing listing = inner_.listFolder(folder, filePattern);
    if (!patterns_.isEmpty())
        listing.files.removeIf([this](const QString& name) {
            return std::none_of(patterns_.begin(), patterns_.end(),
                                [&](const QString& wanted) { return matchesWildcard(name, wanted); });
        });
    return listing;
}

} // namespace hv::find
