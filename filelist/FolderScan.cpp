#include "FolderScan.h"

#include "PathRules.h"
#include "core/BuildInfo.h"
#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <unordered_set>

namespace hv {

namespace {

// Statement numbers of GetSubDirectories2016.
namespace line {
constexpr int kLevelEvents = 104;
constexpr int kSkipHiddenSystem = 106;
constexpr int kCollectSubFolder = 110;
constexpr int kKeepFolder = 112;
} // namespace line

constexpr int kFileAttributesHiddenArchive = attr::Hidden | attr::Archive;      // 34
constexpr int kFolderHiddenSystem = attr::Folder | attr::Hidden | attr::System; // 22
constexpr int kFolderHiddenSystemAlias = kFolderHiddenSystem | attr::Alias;     // 1046

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const noexcept {
        return std::hash<std::uint64_t>()(id.node * 0x9E3779B97F4A7C15ULL ^ id.device);
    }
};

// One run of GetSubDirectories2016 over a whole tree.
class SubDirectoryWalk {
public:
    SubDirectoryWalk(FileSystem& fileSystem, EventPump& events, MessageBox& messages)
        : fs_(fileSystem),
          events_(events),
          trap_(messages, QStringLiteral("AddFolder"), QStringLiteral("GetSubDirectories2016"),
                QString::fromLatin1(kScanTag)),
          separator_(fileSystem.separator()) {}

    void run(std::vector<QString>& folders) {
        for (const QString& folder : folders)
            if (const std::optional<FolderId> id = fs_.folderId(folder)) seen_.insert(*id);

        // Level by level: each level is the sub-folders of the one before,
        // grouped by parent in the parents' order.
        std::vector<QString> deeper;
        std::vector<QString> level = walkLevel(folders);
        while (!level.empty()) {
            std::vector<QString> next = walkLevel(level);
            deeper.insert(deeper.end(), std::make_move_iterator(level.begin()), std::make_move_iterator(level.end()));
            level = std::move(next);
        }

        for (QString& folder : deeper) {
            if (!fs_.isExistingFolder(folder)) continue;
            bool keep = false;
            trap_(line::kKeepFolder, [&] {
                events_.processEvents();
                keep = fs_.isRootFolder(folder) || !isHiddenSystemFolder(folder);
            });
            if (keep) folders.push_back(std::move(folder));
        }
    }

private:
    bool isHiddenSystemFolder(const QString& folder) {
        const int value = fs_.attributes(folder);
        if (value < 0) throw Failure(QStringLiteral("Path not found"));
        return value == kFolderHiddenSystem || value == kFolderHiddenSystemAlias;
    }

    bool acceptableName(const QString& name) const {
        return fs_.pathLength(name) < fs_.pathLengthLimit() && !hasUnsafeCharacters(name)
               && !name.contains(QLatin1Char('?')) && name != QLatin1String(".") && name != QLatin1String("..");
    }

    // The sub-folders of every entry of `level`. Entries whose listing was
    // refused or whose path vanished leave `level`.
    std::vector<QString> walkLevel(std::vector<QString>& level) {
        std::vector<QString> found;
        std::vector<bool> removed(level.size(), false);
        for (std::size_t i = 0; i < level.size(); ++i) {
            const QString& entry = level[i];
            if (!fs_.isExistingFolder(entry) || fs_.pathLength(entry) >= fs_.pathLengthLimit()) continue;
            trap_(line::kLevelEvents, [&] { events_.processEvents(); });
            bool skip = false;
            trap_(line::kSkipHiddenSystem, [&] { skip = !fs_.isRootFolder(entry) && isHiddenSystemFolder(entry); });
            if (skip) continue;
            const SubFolderListing listing = fs_.subFolders(entry);
            for (const SubFolder& sub : listing.folders) {
                trap_(line::kCollectSubFolder, [&] {
                    events_.processEvents();
                    if (acceptableName(sub.name) && seen_.insert(sub.id).second)
                        found.push_back(entry + sub.name + separator_);
                });
            }
            if (listing.error == listing::PermissionDenied || listing.error == listing::PathNotFound) removed[i] = true;
        }
        std::size_t kept = 0;
        for (std::size_t i = 0; i < level.size(); ++i)
            if (!removed[i]) level[kept++] = std::move(level[i]);
        level.resize(kept);
        return found;
    }

    FileSystem& fs_;
    EventPump& events_;
    ErrorTrap trap_;
    QChar separator_;
    std::unordered_set<FolderId, FolderIdHash> seen_;
};

} // namespace

FolderScan::FolderScan(FileSystem& fileSystem, EventPump& events, MessageBox& messages, ListViewModel& fileList)
    : fileSystem_(fileSystem),
      events_(events),
      messages_(messages),
      fileList_(fileList) {}

void FolderScan::addFolderFiles(const QString& topFolder, const QString& pattern, const ScanFailureReport& report) {
    const QChar separator = fileSystem_.separator();
    const PathStyle style = fileSystem_.pathStyle();
    std::vector<QString> folders{topFolder + separator};
    getSubDirectories(folders);
    for (const QString& entry : folders) {
        const QString folder = entry.chopped(1);
        for (const QString& name : listFilesInFolder(folder, pattern)) {
            if (name.startsWith(QLatin1Char('~'))) continue;
            const QString path = folder + separator + name;
            try {
                if (!fileSystem_.isExistingFile(path)) continue;
                const int value = fileSystem_.attributes(path);
                if (value < 0) throw Failure(QStringLiteral("File not found"));
                if (value == kFileAttributesHiddenArchive) continue;
                fileList_.addItem(normalizePath(path, style));
            } catch (const Failure& failure) {
                if (report) report(failure.description());
            } catch (const std::exception& error) {
                if (report) report(QString::fromLocal8Bit(error.what()));
            }
        }
    }
}

void FolderScan::getSubDirectories(std::vector<QString>& folders) {
    SubDirectoryWalk(fileSystem_, events_, messages_).run(folders);
}

QStringList FolderScan::listFilesInFolder(QString folder, const QString& pattern) {
    const QChar separator = fileSystem_.separator();
    if (!folder.endsWith(separator)) folder += separator;
    QStringList names;
    for (const QString& name : fileSystem_.filesMatching(folder, pattern))
        if (fileSystem_.isExistingFile(folder + name)) names.append(name);
    return names;
}

} // namespace hv
