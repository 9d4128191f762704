#include "FolderScanTree.h"

#include "PathRules.h"
#include "ScanWait.h"
#include "SubDirectoryWalk.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace hv {

namespace {

constexpr int kFileAttributesHiddenArchive = attr::Hidden | attr::Archive; // 34

// The files are checked for this many folders at a time, so that the
// answers held besides the names do not grow with the number of folders in
// the tree (the names the walk read are held until their folder's turn, as
// the file list will hold them all)...
constexpr std::size_t kFoldersAtATime = 256;
// ... and this many names make one job of the file system.
constexpr std::size_t kNamesPerJob = 16;

// A name listed in one of the folders looked at, and what the scan asks
// about it, in the order it asks.
struct ListedName {
    std::size_t folder = 0; // position among the folders looked at
    QString name;
    bool listed = false; // an existing file, as ListFilesInFolder sees it
    bool exists = false; // still one when it is about to be added
    int attributes = -1;
};

// The files of some folders of a scan: the names the walk read in them (or,
// for a folder the walk did not read, a reading of its own), then the checks
// of every name, each asked of the file system at once and taken in the
// folders' order.
class FolderFiles {
public:
    FolderFiles(FileSystem& fileSystem, EventPump& events, const QString& pattern, QHash<QString, QStringList> read)
        : fs_(fileSystem),
          events_(events),
          pattern_(pattern),
          separator_(fileSystem.separator()),
          read_(std::move(read)) {}

    // `folders` are entries of the folder list, each ending in the
    // separator. Returns the names listed in them, in order, checked.
    std::vector<ListedName> look(const std::vector<QString>& folders) {
        folders_.clear();
        for (const QString& entry : folders) folders_.push_back(entry.chopped(1));
        std::vector<ListedName> names = listAll(folders);
        checkAll(names);
        return names;
    }
    // The path under which a name of folder `i` is added.
    QString pathOf(const ListedName& name) const { return folders_[name.folder] + separator_ + name.name; }

private:
    // What ListFilesInFolder lists: the folder with one separator at its end.
    QString listedFolder(std::size_t i) const {
        const QString& folder = folders_[i];
        return folder.endsWith(separator_) ? folder : folder + separator_;
    }

    std::vector<ListedName> listAll(const std::vector<QString>& entries) {
        std::vector<QStringList> listings(folders_.size());
        std::vector<std::size_t> unread;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const auto found = read_.find(entries[i]);
            if (found == read_.end()) {
                unread.push_back(i);
                continue;
            }
            listings[i] = std::move(found.value());
            read_.erase(found);
        }
        const std::unique_ptr<QueryRun> run = fs_.startQueries(unread.size(), [&](std::size_t job) {
            listings[unread[job]] = fs_.filesMatching(listedFolder(unread[job]), pattern_);
        });
        std::vector<ListedName> names;
        for (std::size_t i = 0, job = 0; i < folders_.size(); ++i) {
            if (job < unread.size() && unread[job] == i) waitForAnswers(*run, job++, events_);
            for (QString& name : listings[i]) names.push_back(ListedName{i, std::move(name)});
        }
        return names;
    }

    // Runs on a worker thread: touches nothing but the file system and `name`.
    void check(ListedName& name) const {
        name.listed = fs_.isExistingFile(listedFolder(name.folder) + name.name);
        if (!name.listed || name.name.startsWith(QLatin1Char('~'))) return;
        const QString path = pathOf(name);
        name.exists = fs_.isExistingFile(path);
        if (name.exists) name.attributes = fs_.attributes(path);
    }

    void checkAll(std::vector<ListedName>& names) {
        const std::size_t jobs = (names.size() + kNamesPerJob - 1) / kNamesPerJob;
        const std::unique_ptr<QueryRun> run = fs_.startQueries(jobs, [&](std::size_t job) {
            const std::size_t end = std::min(names.size(), (job + 1) * kNamesPerJob);
            for (std::size_t i = job * kNamesPerJob; i < end; ++i) check(names[i]);
        });
        for (std::size_t job = 0; job < jobs; ++job) waitForAnswers(*run, job, events_);
    }

    FileSystem& fs_;
    EventPump& events_;
    const QString pattern_;
    const QChar separator_;
    QHash<QString, QStringList> read_; // by folder entry, until looked at
    std::vector<QString> folders_;     // without their trailing separator
};

void add(FolderScanOutput& output, const QString& path, PathStyle style, int attributes) {
    try {
        if (attributes < 0) throw Failure(QStringLiteral("File not found"));
        if (attributes == kFileAttributesHiddenArchive) return;
        output.found(normalizePath(path, style));
    } catch (const Failure& failure) {
        output.failed({ScanFailure::Kind::File, path, failure.description(), 0});
    } catch (const std::exception& error) {
        output.failed({ScanFailure::Kind::File, path, QString::fromLocal8Bit(error.what()), 0});
    }
}

} // namespace

void scanFolderTree(FileSystem& fileSystem, EventPump& events, FolderScanOutput& output, const QString& topFolder,
                    const QString& pattern) {
    std::vector<QString> folders{topFolder + fileSystem.separator()};
    SubDirectoryWalk walk(fileSystem, events, output, pattern);
    walk.run(folders);
    FolderFiles files(fileSystem, events, pattern, walk.takeFiles());
    for (std::size_t first = 0; first < folders.size(); first += kFoldersAtATime) {
        const auto from = folders.begin() + static_cast<std::ptrdiff_t>(first);
        const auto to =
            folders.begin() + static_cast<std::ptrdiff_t>(std::min(folders.size(), first + kFoldersAtATime));
        for (const ListedName& name : files.look(std::vector<QString>(from, to))) {
            if (!name.listed || name.name.startsWith(QLatin1Char('~')) || !name.exists) continue;
            add(output, files.pathOf(name), fileSystem.pathStyle(), name.attributes);
        }
    }
}

} // namespace hv
