#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace hv {

// Attribute flags; a path's attribute value is the sum of those that apply.
namespace attr {
inline constexpr int ReadOnly = 1;
inline constexpr int Hidden = 2;
inline constexpr int System = 4;
inline constexpr int Folder = 16;
inline constexpr int Archive = 32;
inline constexpr int Alias = 1024; // symbolic link, junction or other reparse point
} // namespace attr

// How paths are written: "\"-separated with drive letters and "\\server"
// network paths, or "/"-separated.
enum class PathStyle { Windows, Posix };

inline QChar separatorOf(PathStyle style) {
    return style == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

// What makes two paths the same folder on this machine (device and inode).
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    friend bool operator==(const FolderId&, const FolderId&) = default;
};

struct SubFolder {
    // The name as text. A byte of the name that is not part of UTF-8 text
    // stands as U+DC80..U+DCFF (see PathBytes.h), so that the name still
    // leads to the entry on disk.
    QString name;
    FolderId id;
};

// Run-time error numbers of a sub-folder listing.
namespace listing {
inline constexpr int PermissionDenied = 70;
inline constexpr int PathNotFound = 76;
inline constexpr int PathFileAccessError = 75;
} // namespace listing

// What one reading of a folder's entries found: its sub-folders, sorted by
// name without regard to case, and the names of its other entries that match
// the wildcard asked for ("*" any run, "?" any one character, without regard
// to case; "*.*" matches every name; no pattern, no names), hidden entries
// included, sorted the same way. When the listing failed, `error` holds its
// run-time error number (70 permission denied, 76 path not found, others for
// other failures) and the lists what was read before the failure.
struct FolderListing {
    std::vector<SubFolder> folders;
    QStringList files;
    int error = 0;
    QString description;
};
using SubFolderListing = FolderListing;

// One job of a query run: makes queries of the file system and leaves its
// answers where the caller reads them once the job has run.
using QueryJob = std::function<void(std::size_t index)>;

// The jobs started by one FileSystem::startQueries call. Only the thread that
// started them uses this object.
class QueryRun {
public:
    virtual ~QueryRun() = default;
    // True once job `index` has run (an index past the last job always is);
    // waits at most `timeout` for that.
    virtual bool waitFor(std::size_t index, std::chrono::milliseconds timeout) = 0;
};

// Runs one job; a job that throws ends there, and the run goes on.
inline void runQueryJob(const QueryJob& job, std::size_t index) noexcept {
    try {
        job(index);
    } catch (...) {
    }
}

// The jobs run one after the other on the caller's thread, each when
// waitFor() first reaches it.
class QueryRunInOrder final : public QueryRun {
public:
    QueryRunInOrder(std::size_t count, QueryJob job) : count_(count), job_(std::move(job)) {}
    bool waitFor(std::size_t index, std::chrono::milliseconds) override {
        for (; next_ < count_ && next_ <= index; ++next_) runQueryJob(job_, next_);
        return true;
    }

private:
    std::size_t count_;
    std::size_t next_ = 0;
    QueryJob job_;
};

// File-system queries. None of them reports an error: a query that fails
// answers false, -1, nothing or an empty list.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when the date and time of last change of `path` can be read.
    virtual bool isExistingPath(const QString& path) = 0;

    virtual PathStyle pathStyle() const = 0;
    QChar separator() const { return separatorOf(pathStyle()); }
    // A path whose length reaches the limit is too long for the system.
    virtual qsizetype pathLengthLimit() const = 0;
    virtual qsizetype pathLength(const QString& path) const = 0;

    // The attribute value of `path` (sum of attr flags), or -1 when it
    // cannot be read.
    virtual int attributes(const QString& path) = 0;
    // True only for an existing regular file (also through a symbolic link).
    // Never opens the path, so a pipe or a device cannot make it wait.
    virtual bool isExistingFile(const QString& path) = 0;
    // True when the attributes of `path` can be read and include Folder.
    bool isExistingFolder(const QString& path) {
        const int value = attributes(path);
        return value >= 0 && (value & attr::Folder) != 0;
    }
    // True for the top of a directory hierarchy ("/", or a drive root).
    virtual bool isRootFolder(const QString& path) = 0;
    // The identity of the folder at `path`, or nothing when it is no folder.
    virtual std::optional<FolderId> folderId(const QString& path) = 0;
    // The folders inside `folder` (symbolic links to folders included) and
    // the names of its other entries that match `filePattern`, from one
    // reading of the folder.
    virtual FolderListing listFolder(const QString& folder, const QString& filePattern) = 0;
    // The folders inside `folder`.
    SubFolderListing subFolders(const QString& folder) { return listFolder(folder, QString()); }
    // The names of the entries of `folder` that are not folders and match
    // `pattern`; empty when the folder cannot be read.
    QStringList filesMatching(const QString& folder, const QString& pattern) {
        return listFolder(folder, pattern).files;
    }

    // Runs job(0) to job(count - 1), each once. A file system whose queries
    // may be made from several threads at once runs the jobs on worker
    // threads, several at a time, starting them in index order, so that the
    // round trips to a slow share overlap: a job may then read only what
    // stays as it is until the run ends, and write only its own answers. This
    // one runs them on the caller's thread, in order, as waitFor() reaches
    // them. Destroying the run starts no further job and waits for those
    // running.
    virtual std::unique_ptr<QueryRun> startQueries(std::size_t count, QueryJob job) {
        return std::make_unique<QueryRunInOrder>(count, std::move(job));
    }
};

} // namespace hv
