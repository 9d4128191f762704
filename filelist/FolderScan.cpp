#include "FolderScan.h"

#include "PathRules.h"
#include "ScanWait.h"
#include "SubDirectoryWalk.h"
#include "core/ListViewModel.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace hv {

namespace {

constexpr int kFileAttributesHiddenArchive = attr::Hidden | attr::Archive; // 34

// The files are looked at for this many folders at a time, so that the
// answers held do not grow with the number of folders in the tree (a single
// folder's names are all held at once)...
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

// The files of some folders of a scan: the folders' listings, then the
// checks of every listed name, each asked of the file system at once and
// taken in the folders' order.
class FolderFiles {
public:
    FolderFiles(FileSystem& fileSystem, EventPump& events, const QString& pattern)
        : fs_(fileSystem),
          events_(events),
          pattern_(pattern),
          separator_(fileSystem.separator()) {}

    // `folders` are entries of the folder list, each ending in the
    // separator. Returns the names listed in them, in order, checked.
    std::vector<ListedName> look(const std::vector<QString>& folders) {
        folders_.clear();
        for (const QString& entry : folders) folders_.push_back(entry.chopped(1));
        std::vector<ListedName> names = listAll();
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

    std::vector<ListedName> listAll() {
        std::vector<QStringList> listings(folders_.size());
        std::vector<ListedName> names;
        const std::unique_ptr<QueryRun> run = fs_.startQueries(
            folders_.size(), [&](std::size_t i) { listings[i] = fs_.filesMatching(listedFolder(i), pattern_); });
        for (std::size_t i = 0; i < folders_.size(); ++i) {
            waitForAnswers(*run, i, events_);
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
    std::vector<QString> folders_; // without their trailing separator
};

} // namespace

FolderScan::FolderScan(FileSystem& fileSystem, EventPump& events, MessageBox& messages, ListViewModel& fileList)
    : fileSystem_(fileSystem),
      events_(events),
      messages_(messages),
      fileList_(fileList) {}

void FolderScan::addFolderFiles(const QString& topFolder, const QString& pattern, const ScanFailureReport& report) {
    const PathStyle style = fileSystem_.pathStyle();
    std::vector<QString> folders{topFolder + fileSystem_.separator()};
    getSubDirectories(folders);
    FolderFiles files(fileSystem_, events_, pattern);
    for (std::size_t first = 0; first < folders.size(); first += kFoldersAtATime) {
        const auto from = folders.begin() + static_cast<std::ptrdiff_t>(first);
        const auto to =
            folders.begin() + static_cast<std::ptrdiff_t>(std::min(folders.size(), first + kFoldersAtATime));
        for (const ListedName& name : files.look(std::vector<QString>(from, to))) {
            if (!name.listed || name.name.startsWith(QLatin1Char('~'))) continue;
            try {
                if (!name.exists) continue;
                if (name.attributes < 0) throw Failure(QStringLiteral("File not found"));
                if (name.attributes == kFileAttributesHiddenArchive) continue;
                fileList_.addItem(normalizePath(files.pathOf(name), style));
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
