#pragma once

#include "core/ErrorTrap.h"
#include "platform/FileSystem.h"

#include <QChar>
#include <QString>

#include <unordered_set>
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
// comes out is the same.
class SubDirectoryWalk {
public:
    SubDirectoryWalk(FileSystem& fileSystem, EventPump& events, MessageBox& messages);
    void run(std::vector<QString>& folders);

private:
    struct LevelAnswers;
    struct KeepAnswers;

    LevelAnswers examine(const QString& entry) const;
    KeepAnswers examineFound(const QString& folder) const;
    std::vector<QString> walkLevel(std::vector<QString>& level);
    void collect(const QString& entry, const LevelAnswers& answers, std::vector<QString>& found);
    void keepFound(std::vector<QString>& deeper, std::vector<QString>& folders);
    bool acceptableName(const QString& name) const;

    FileSystem& fs_;
    EventPump& events_;
    ErrorTrap trap_;
    QChar separator_;
    std::unordered_set<FolderId, FolderIdHash> seen_;
};

} // namespace hv
