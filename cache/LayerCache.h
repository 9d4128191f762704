#pragma once

#include "cache/FileStamp.h"
#include "psd/FormatVersion.h"
#include "psd/LayerReader.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace hv::cache {

// One entry waiting to be written.
struct Store {
    std::string path;
    FileStamp stamp;
    std::string form;
};

// Read documents kept in an SQLite database (layers.sqlite in a folder of
// the user's own), each under its path with the file's stamp and the
// reader's format version: an entry counts only while both are the same.
// No Qt; find() and store() may be called from any number of threads (one
// connection, taken in turn).
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
class LayerCache {
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
    std::optional<psd::Document> find(const std::string& path, const FileStamp& stamp,
                                      const std::function<bool(std::size_t storedBytes)>& beforeDecode = {});
    // Keeps `document` as what `path` holds while it has that stamp. Stores
    // are written a few dozen at a time, in one transaction, or by the first
    // find() or store() a second after the oldest; flush() writes the rest.
    void store(const std::string& path, const FileStamp& stamp, const psd::Document& document);

    // Writes the stores waiting and which entries were used since the last
    // time (done every few hundred finds, and at destruction), and moves
    // the write-ahead log into the database.
    void flush();

    // The first problem met, in a sentence ("" when none).
    std::string warning() const;
    // The database's file name.
    std::string file() const;

private:
    struct Database;
    bool ready();
    void open();
    void failed(int code, const std::string& doing);
    void warn(const std::string& text);
    void flushUses();
    void writeStores();
    int writeStore(const Store& entry);
    void evict();

    const Options options_;
    mutable std::mutex mutex_;
    bool tried_ = false;
    std::unique_ptr<Database> db_;   // none until opened, or once given up
    std::vector<std::int64_t> used_; // rows found since the last flush
    std::vector<Store> stores_;      // not written yet
    std::uint64_t storeBytes_ = 0;   // their stored forms
    std::chrono::steady_clock::time_point firstStore_;
    std::uint64_t total_ = 0; // of the entries, as counted for maxBytes
    std::string warning_;
};

} // namespace hv::cache
