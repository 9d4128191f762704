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

SubFolderListing WalkFileSystem::subFolders(const QString& folder) {
    SubFolderListing listing = inner_.subFolders(folder);
    if (listing.error != 0) {
        const std::lock_guard lock(failuresMutex_);
        failures_.push_back({folder, listing.description});
    }
    return listing;
}

std::vector<WalkFileSystem::FolderFailure> WalkFileSystem::takeFolderFailures() {
    std::vector<FolderFailure> taken;
    {
        const std::lock_guard lock(failuresMutex_);
        taken.swap(failures_);
    }
    std::sort(taken.begin(), taken.end(),
              [](const FolderFailure& a, const FolderFailure& b) { return a.folder < b.folder; });
    return taken;
}

QStringList WalkFileSystem::filesMatching(const QString& folder, const QString& pattern) {
    QStringList names = inner_.filesMatching(folder, pattern);
    if (!patterns_.isEmpty())
        names.removeIf([this](const QString& name) {
            return std::none_of(patterns_.begin(), patterns_.end(),
                                [&](const QString& wanted) { return matchesWildcard(name, wanted); });
        });
    return names;
}

} // namespace hv::find
