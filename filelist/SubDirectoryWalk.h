#pragma once

#include "FolderScanOutput.h"
#include "platform/FileSystem.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>

#include <unordered_set>
#include <utility>
#include <vector>

namespace hv {

class EventPump;

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const noexcept;
};

// One run of GetSubDirectories2016 over a whole tree, level by level.
//
// The file system is asked about all the folders of a level at once (see
// FileSystem::startQueries); the answers are then taken in the level's
// order, on the caller's thread, with the events and the error trap's
// statements exactly where a folder-by-folder walk has them. Each folder's
// questions are the ones that walk asks, in the same order, so the list that
// comes out is the same. Failures of its statements, and folders whose
// listing failed, go to `output`.
//
// Each folder is read once: the reading that finds its sub-folders also
// keeps the names of its files that match `filePattern` (none when empty),
// for takeFiles().
class SubDirectoryWalk {
public:
    SubDirectoryWalk(FileSystem& fileSystem, EventPump& events, FolderScanOutput& output,
                     QString filePattern = QString());
    void run(std::vector<QString>& folders);
    // The matching file names of each folder the walk read, by its entry in
    // the folder list. A folder of the list that is not there was not read
    // (a hidden system folder given as the top, a path at the length limit).
    QHash<QString, QStringList> takeFiles() { return std::exchange(files_, {}); }

private:
    struct LevelAnswers;
    struct KeepAnswers;

    LevelAnswers examine(const QString& entry) const;
    KeepAnswers examineFound(const QString& folder) const;
    std::vector<QString> walkLevel(std::vector<QString>& level);
    void collect(const QString& entry, const LevelAnswers& answers, std::vector<QString>& found);
    void keepFound(std::vector<QString>& deeper, std::vector<QString>& folders);
    bool acceptableName(const QString& name) const;
    template <class Statement>
    void statement(int line, const QString& folder, Statement&& run);

    FileSystem& fs_;
    EventPump& events_;
    FolderScanOutput& output_;
    const QString filePattern_;
    QChar separator_;
    std::unordered_set<FolderId, FolderIdHash> seen_;
    QHash<QString, QStringList> files_;
};

} // namespace hv
