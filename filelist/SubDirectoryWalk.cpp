#include "SubDirectoryWalk.h"

#include "PathRules.h"
#include "ScanWait.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"

#include <exception>
#include <optional>

namespace hv {

namespace {

// Statement numbers of GetSubDirectories2016.
namespace line {
constexpr int kLevelEvents = 104;
constexpr int kSkipHiddenSystem = 106;
constexpr int kCollectSubFolder = 110;
constexpr int kKeepFolder = 112;
} // namespace line

constexpr int kFolderHiddenSystem = attr::Folder | attr::Hidden | attr::System; // 22
constexpr int kFolderHiddenSystemAlias = kFolderHiddenSystem | attr::Alias;     // 1046

bool isHiddenSystemValue(int value) {
    return value == kFolderHiddenSystem || value == kFolderHiddenSystemAlias;
}

// The hidden-system test of a folder whose attribute value was read as
// `value`; a value that could not be read fails the statement.
bool isHiddenSystemFolder(int value) {
    if (value < 0) throw Failure(QStringLiteral("Path not found"));
    return isHiddenSystemValue(value);
}

} // namespace

std::size_t FolderIdHash::operator()(const FolderId& id) const noexcept {
    return std::hash<std::uint64_t>()(id.node * 0x9E3779B97F4A7C15ULL ^ id.device);
}

// What the walk asks about an entry of a level, in the order it asks.
struct SubDirectoryWalk::LevelAnswers {
    bool examined = false; // an existing folder whose path is not too long
    bool root = false;
    int attributes = -1; // read for the hidden-system test unless root
    std::optional<SubFolderListing> listing;
};

// What the final pass asks about a folder found below the top.
struct SubDirectoryWalk::KeepAnswers {
    bool exists = false;
    bool root = false;
    int attributes = -1; // read unless root
};

SubDirectoryWalk::SubDirectoryWalk(FileSystem& fileSystem, EventPump& events, FolderScanOutput& output,
                                   QString filePattern)
    : fs_(fileSystem),
      events_(events),
      output_(output),
      filePattern_(std::move(filePattern)),
      separator_(fileSystem.separator()) {}

// Runs one statement on `folder`; a failure goes to the output, and the walk
// goes on with the next statement.
template <class Statement>
void SubDirectoryWalk::statement(int line, const QString& folder, Statement&& run) {
    try {
        std::forward<Statement>(run)();
    } catch (const Failure& failure) {
        output_.failed({ScanFailure::Kind::Statement, folder, failure.description(), line});
    } catch (const std::exception& error) {
        output_.failed({ScanFailure::Kind::Statement, folder, QString::fromLocal8Bit(error.what()), line});
    }
}

void SubDirectoryWalk::run(std::vector<QString>& folders) {
    std::vector<std::optional<FolderId>> ids(folders.size());
    {
        const std::unique_ptr<QueryRun> run =
            fs_.startQueries(folders.size(), [&](std::size_t i) { ids[i] = fs_.folderId(folders[i]); });
        for (std::size_t i = 0; i < folders.size(); ++i) {
            waitForAnswers(*run, i, events_);
            if (ids[i]) seen_.insert(*ids[i]);
        }
    }

    // Level by level: each level is the sub-folders of the one before,
    // grouped by parent in the parents' order.
    std::vector<QString> deeper;
    std::vector<QString> level = walkLevel(folders);
    while (!level.empty()) {
        std::vector<QString> next = walkLevel(level);
        deeper.insert(deeper.end(), std::make_move_iterator(level.begin()), std::make_move_iterator(level.end()));
        level = std::move(next);
    }
    keepFound(deeper, folders);
}

// Runs on a worker thread: touches nothing but the file system.
SubDirectoryWalk::LevelAnswers SubDirectoryWalk::examine(const QString& entry) const {
    LevelAnswers answers;
    if (!fs_.isExistingFolder(entry) || fs_.pathLength(entry) >= fs_.pathLengthLimit()) return answers;
    answers.examined = true;
    answers.root = fs_.isRootFolder(entry);
    if (!answers.root) {
        answers.attributes = fs_.attributes(entry);
        if (isHiddenSystemValue(answers.attributes)) return answers;
    }
    answers.listing = fs_.listFolder(entry, filePattern_);
    return answers;
}

// Runs on a worker thread: touches nothing but the file system.
SubDirectoryWalk::KeepAnswers SubDirectoryWalk::examineFound(const QString& folder) const {
    KeepAnswers answers;
    answers.exists = fs_.isExistingFolder(folder);
    if (!answers.exists) return answers;
    answers.root = fs_.isRootFolder(folder);
    if (!answers.root) answers.attributes = fs_.attributes(folder);
    return answers;
}

bool SubDirectoryWalk::acceptableName(const QString& name) const {
    return fs_.pathLength(name) < fs_.pathLengthLimit() && !hasUnsafeCharacters(name)
           && !name.contains(QLatin1Char('?')) && name != QLatin1String(".") && name != QLatin1String("..");
}

// The sub-folders of every entry of `level`. Entries whose listing was
// refused or whose path vanished leave `level`.
std::vector<QString> SubDirectoryWalk::walkLevel(std::vector<QString>& level) {
    std::vector<LevelAnswers> answers(level.size());
    std::vector<QString> found;
    std::vector<bool> removed(level.size(), false);
    {
        // `level` and `answers` stay as they are until the run has ended.
        const std::unique_ptr<QueryRun> run =
            fs_.startQueries(level.size(), [&](std::size_t i) { answers[i] = examine(level[i]); });
        for (std::size_t i = 0; i < level.size(); ++i) {
            waitForAnswers(*run, i, events_);
            LevelAnswers& a = answers[i];
            if (!a.examined) continue;
            statement(line::kLevelEvents, level[i], [&] { events_.processEvents(); });
            bool skip = false;
            statement(line::kSkipHiddenSystem, level[i], [&] { skip = !a.root && isHiddenSystemFolder(a.attributes); });
            if (a.listing && a.listing->error != 0)
                output_.failed({ScanFailure::Kind::Listing, level[i], a.listing->description, 0});
            if (skip || !a.listing) continue;
            collect(level[i], a, found);
            const int error = a.listing->error;
            if (error == listing::PermissionDenied || error == listing::PathNotFound) removed[i] = true;
            if (!filePattern_.isEmpty()) files_.insert(level[i], std::move(a.listing->files));
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < level.size(); ++i)
        if (!removed[i]) level[kept++] = std::move(level[i]);
    level.resize(kept);
    return found;
}

void SubDirectoryWalk::collect(const QString& entry, const LevelAnswers& answers, std::vector<QString>& found) {
    for (const SubFolder& sub : answers.listing->folders) {
        statement(line::kCollectSubFolder, entry, [&] {
            events_.processEvents();
            if (acceptableName(sub.name) && seen_.insert(sub.id).second) found.push_back(entry + sub.name + separator_);
        });
    }
}

// The folders found below the top join the list unless they vanished or are
// hidden system folders. The path length is not looked at here.
void SubDirectoryWalk::keepFound(std::vector<QString>& deeper, std::vector<QString>& folders) {
    std::vector<KeepAnswers> answers(deeper.size());
    const std::unique_ptr<QueryRun> run =
        fs_.startQueries(deeper.size(), [&](std::size_t i) { answers[i] = examineFound(deeper[i]); });
    for (std::size_t i = 0; i < deeper.size(); ++i) {
        waitForAnswers(*run, i, events_);
        const KeepAnswers& a = answers[i];
        if (!a.exists) continue;
        bool keep = false;
        statement(line::kKeepFolder, deeper[i], [&] {
            events_.processEvents();
            keep = a.root || !isHiddenSystemFolder(a.attributes);
        });
        if (keep) folders.push_back(deeper[i]);
    }
}

} // namespace hv
