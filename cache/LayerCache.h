#pragma once

#include "cache/FileStamp.h"
#include "cache/LookupConnections.h"
#include "psd/FormatVersion.h"
#include "psd/LayerReader.h"
#include "workers/WorkerPool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace hv::cache {

namespace sql {
class Statement;
}

// One entry waiting to be written.
struct Store {
    std::string path;
    FileStamp stamp;
    std::string form;
};

// Read documents kept in an SQLite database (layers.sqlite in a folder of
// the user's own), each under its path with the file's stamp and the
// reader's format version: an entry counts only while both are the same.
// No Qt; find() and store() may be called from any number of threads: one
// connection writes, taken in turn, and a few more look entries up.
//
// Stores are written by a thread of the cache's own at idle priority (when
// the cache is held by a shared_ptr): it runs when a core has nothing else
// to do, so a search does not wait for them. Up to 32 MB of them wait for
// it; past that, store() writes them itself.
//
// The cache never makes a search fail: the database is opened on first use;
// a file that is no database or is damaged is deleted and made anew; a
// folder or file that cannot be written, a locked database, a full disk or
// any other fault makes it give nothing and keep nothing for the rest of
// the run. Only the first such problem is told (onWarning, once, from the
// thread that met it; warning()). A store that finds the database busy with
// another program's write is skipped without a word.
//
// Size: when the entries pass maxBytes, the least recently used go first,
// down to nine tenths of it. Each entry counts its stored form, its path and
// a fixed overhead per row.
class LayerCache : public std::enable_shared_from_this<LayerCache> {
public:
    struct Options {
        std::string folder; // created 0700 when missing; the files are 0600
        std::uint64_t maxBytes = std::uint64_t{512} << 20;
        std::uint32_t readerVersion = psd::readerFormatVersion;
        std::function<void(const std::string&)> onWarning;
    };

    explicit LayerCache(Options options);
    ~LayerCache();
    LayerCache(const LayerCache&) = delete;
    LayerCache& operator=(const LayerCache&) = delete;

    // The document stored for `path` under that stamp by this reader version.
    // `beforeDecode`, when given, is told the stored form's size before the
    // document is made from it, and may refuse (none is then returned).
    // A cache that was empty when opened is only asked for what this object
    // wrote since.
    std::optional<psd::Document> find(const std::string& path, const FileStamp& stamp,
                                      const std::function<bool(std::size_t storedBytes)>& beforeDecode = {});
    // Keeps `document` as what `path` holds while it has that stamp. Stores
    // are written a few dozen at a time, in one transaction, or a second
    // after the oldest; flush() writes the rest.
    void store(const std::string& path, const FileStamp& stamp, const psd::Document& document);

    // A picture of the document (a form of the caller's, such as its
    // preview) kept with its entry for `path` under that stamp; nothing when
    // the entry or its picture is missing. storePicture() keeps one with the
    // entry, once; nothing is kept without the entry. An entry stored anew
    // has none.
    std::optional<std::string> findPicture(const std::string& path, const FileStamp& stamp);
    void storePicture(const std::string& path, const FileStamp& stamp, const std::string& picture);

    // Writes the stores waiting and which entries were used since the last
    // time (done every few hundred finds, and at destruction), and moves
    // the write-ahead log into the database.
    void flush();
    // flush() on a thread of its own, waited for at most `wait`: for the end
    // of a program whose cache folder may be on a share that went away.
    static void flushBeforeExit(const std::shared_ptr<LayerCache>& cache, std::chrono::milliseconds wait);

    // The first problem met, in a sentence ("" when none).
    std::string warning() const;
    // The database's file name.
    std::string file() const;

private:
    struct Database;
    bool ready();
    void open();
    void failed(int code, const std::string& doing);
    void bindEntry(sql::Statement& statement, const std::string& path, const FileStamp& stamp) const;
    void warn(const std::string& text);
    void flushUses();
    LookupConnections::Answer findOnWriter(const std::string& path, LookupConnections::Row& row);
    void noteUse(std::int64_t rowid);
    void writeStores(std::vector<Store> entries);
    int writeStore(const Store& entry);
    std::vector<Store> takeQueue(std::unique_lock<std::mutex>& queueLock);
    bool batchDue() const;
    void write(std::vector<Store> entries);
    void runWriter();
    void evict();

    const Options options_;
    mutable std::mutex mutex_;
    bool tried_ = false;
    std::unique_ptr<Database> db_;   // none until opened, or once given up
    std::vector<std::int64_t> used_; // rows found since the last flush
    std::uint64_t total_ = 0;        // of the entries, as counted for maxBytes
    std::string warning_;
    // While the cache holds only what this object wrote: the paths stored
    // (queued, written or given up on; a look-up of one may find nothing).
    bool startedEmpty_ = false; // set when opened, then only read
    std::unordered_set<std::string> writtenHere_;
    // Opened with the database; used by find() once lookupsReady_ is set.
    std::unique_ptr<LookupConnections> lookups_;
    std::atomic<bool> lookupsReady_ = false;

    // The stores not written yet (guarded by queueMutex_, as are
    // writtenHere_ and the two flags), and the thread that writes them.
    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::vector<Store> queue_;
    std::uint64_t queueBytes_ = 0; // their stored forms
    std::chrono::steady_clock::time_point firstQueued_;
    bool writerRunning_ = false;
    bool writing_ = false; // entries taken from the queue are being written
    bool off_ = false;     // the database was given up: nothing more is queued
    WorkerPool writer_{1};
};

} // namespace hv::cache
