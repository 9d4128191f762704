#pragma once

#include "platform/FileSystem.h"
#include "platform/qt/PosixFileSystem.h"

#include <QMap>
#include <QSet>
#include <QString>

#include <atomic>
#include <mutex>

namespace hv::test {

// An in-memory file system with the attribute values, roots, listing
// failures and path limit a test sets up, in either path style. Paths are
// looked up with runs of separators taken as one and without a trailing
// separator, so "C:\", "C:\\" and "C:" name the same root. Its queries may
// be made from several threads at once.
class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(PathStyle style = PathStyle::Windows) : style_(style) {}

    void addRoot(const QString& path, int attributes = attr::Folder);
    void addFolder(const QString& path, int attributes = attr::Folder);
    void addFile(const QString& path, int attributes = attr::Archive);
    // The listing of `folder` ends with `error` after `listedBeforeFailure`
    // of its sub-folders.
    void failListing(const QString& folder, int error, int listedBeforeFailure = 0);
    // The attributes of `path` can be read `reads` times more, then vanish.
    void attributesVanishAfter(const QString& path, int reads);

    qsizetype limit = 260;
    // Query runs take place on that many worker threads from now on, and each
    // job waits first the longer the earlier it comes in its run, so that
    // answers come back out of order.
    void answerOnWorkers(std::size_t threads) { workers_ = std::make_unique<QueryWorkers>(threads); }

    bool isExistingPath(const QString& path) override;
    PathStyle pathStyle() const override { return style_; }
    qsizetype pathLengthLimit() const override { return limit; }
    qsizetype pathLength(const QString& path) const override { return path.size(); }
    int attributes(const QString& path) override;
    bool isExistingFile(const QString& path) override;
    bool isRootFolder(const QString& path) override;
    std::optional<FolderId> folderId(const QString& path) override;
    FolderListing listFolder(const QString& folder, const QString& filePattern) override;
    std::unique_ptr<QueryRun> startQueries(std::size_t count, QueryJob job) override;

private:
    struct Entry {
        bool folder = false;
        int attributes = 0;
        std::uint64_t id = 0;
    };
    QString key(const QString& path) const;
    const Entry* find(const QString& path) const;
    // Names of the entries directly inside `folder`, sorted without case.
    QStringList children(const QString& folder, bool folders) const;

    PathStyle style_;
    QMap<QString, Entry> entries_;
    QSet<QString> roots_;
    QMap<QString, std::pair<int, int>> failures_;
    QMap<QString, int> readsLeft_;
    std::uint64_t nextId_ = 1;
    mutable std::mutex mutex_; // guards the queries, not the setting up
    std::unique_ptr<QueryWorkers> workers_;
};

// This machine's file system, except that the folders named by the test
// refuse to be listed, as folders without read permission do for anyone
// but the superuser, and a path length limit may stand in for the system's.
class DenyingFileSystem : public PosixFileSystem {
public:
    explicit DenyingFileSystem(std::size_t queryThreads = defaultQueryThreads) : PosixFileSystem(queryThreads) {}
    QSet<QString> denied;         // folder paths without trailing "/"
    qsizetype limit = 0;          // 0: the system's
    std::atomic<int> listings{0}; // folders read, each read counted
    qsizetype pathLengthLimit() const override { return limit > 0 ? limit : PosixFileSystem::pathLengthLimit(); }
    FolderListing listFolder(const QString& folder, const QString& filePattern) override;

private:
    bool isDenied(const QString& folder) const;
};

} // namespace hv::test
