#include "cache/LayerCache.h"

#include "cache/DocumentCodec.h"
#include "cache/Sqlite.h"
#include "workers/BriefLock.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv::cache {

namespace {

constexpr const char* kFileName = "layers.sqlite";
// PRAGMA user_version of the layout below; another one is dropped and made anew.
constexpr int kSchema = 2;
constexpr const char* kCreate = "CREATE TABLE IF NOT EXISTS documents(path BLOB NOT NULL UNIQUE, dev INTEGER NOT NULL,"
                                " ino INTEGER NOT NULL, size INTEGER NOT NULL, mtime INTEGER NOT NULL,"
                                " ctime INTEGER NOT NULL, reader INTEGER NOT NULL, used INTEGER NOT NULL,"
                                " bytes INTEGER NOT NULL, data BLOB NOT NULL, picture BLOB);"
                                "CREATE INDEX IF NOT EXISTS documents_used ON documents(used, bytes);"
                                "PRAGMA user_version = 2;";
// An entry's columns in the order of LookupConnections::Row.
constexpr const char* kFind =
    "SELECT rowid, dev, ino, size, mtime, ctime, reader, data, used FROM documents WHERE path = ?1";
// Connections that look entries up side by side.
constexpr std::size_t kLookupConnections = 4;
// A thread keeps the buffer of the last form it looked up up to this size
// (the read-ahead has up to 256 threads).
constexpr std::size_t kKeptFormBytes = std::size_t{64} << 10;
// The stamp and reader version an entry counts under, from parameter ?2 on.
constexpr const char* kSameStamp = "dev = ?2 AND ino = ?3 AND size = ?4 AND mtime = ?5 AND ctime = ?6 AND reader = ?7";
// Nothing waits for the disk (synchronous = OFF): after a crash of the system
// the cache may lose its last entries or be damaged, and a damaged one is
// deleted and made anew; an entry is only ever used with the stamp it was
// stored with, in the same row.
// Waits for another program's write: long while opening, short for a store
// (which is skipped when the wait runs out).
constexpr int kOpenWaitMs = 1000;
constexpr int kWaitMs = 50;
constexpr std::size_t kUsesPerFlush = 256;
// An entry's time of use is rewritten (with its row) only once it is a day
// old, so that repeated searches write nothing; the least recently used go
// first to that grain.
constexpr std::int64_t kUseGrain = std::int64_t{24} * 3600 * 1'000'000;
constexpr std::uint64_t kRowOverhead = 64;

std::int64_t now() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

std::string errnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// The folder and any missing parents, the folder itself private.
bool makeFolder(const std::string& folder, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) {
        error = "cannot create " + folder + ": " + code.message();
        return false;
    }
    if (::chmod(folder.c_str(), 0700) != 0 && errno != EPERM) {
        error = errnoText("cannot protect " + folder);
        return false;
    }
    return true;
}

void removeFiles(const std::string& file) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((file + suffix).c_str());
}

} // namespace

struct LayerCache::Database {
    sqlite3* db = nullptr;
    sql::Statement find, store, use, evict, findPicture, storePicture;

    ~Database() {
        find = {}, store = {}, use = {}, evict = {}, findPicture = {}, storePicture = {};
        sqlite3_close(db);
    }

    std::string message() const { return db ? sqlite3_errmsg(db) : "out of memory"; }

    // SQLITE_OK, or the code of the step that failed.
    int open(const std::string& file) {
        // Made here so that SQLite's files (which take its mode) are private.
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return SQLITE_CANTOPEN;
        ::close(fd);
        int code = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (code != SQLITE_OK) return code;
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kOpenWaitMs);
        if ((code = sql::execute(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = OFF;")) != SQLITE_OK) return code;
        sql::Statement version;
        if ((code = version.prepare(db, "PRAGMA user_version")) != SQLITE_OK) return code;
        if ((code = version.step()) != SQLITE_ROW) return code;
        const std::int64_t schema = version.number(0);
        version = {};
        if (schema != 0 && schema != kSchema
            && (code = sql::execute(db, "DROP TABLE IF EXISTS documents")) != SQLITE_OK)
            return code;
        if ((code = sql::execute(db, kCreate)) != SQLITE_OK) return code;
        sqlite3_busy_timeout(db, kWaitMs);
        return prepare();
    }

    int prepare() {
        int code = find.prepare(db, kFind);
        if (code == SQLITE_OK)
            code = store.prepare(db, "INSERT OR REPLACE INTO documents(path, dev, ino, size, mtime, ctime, reader,"
                                     " used, bytes, data) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        if (code == SQLITE_OK) code = use.prepare(db, "UPDATE documents SET used = ?1 WHERE rowid = ?2");
        if (code == SQLITE_OK)
            code = evict.prepare(db, "DELETE FROM documents WHERE rowid IN"
                                     " (SELECT rowid FROM documents ORDER BY used LIMIT 64) RETURNING bytes");
        if (code == SQLITE_OK)
            code = findPicture.prepare(db, std::string("SELECT picture FROM documents WHERE path = ?1 AND ")
                                               + kSameStamp + " AND picture IS NOT NULL");
        if (code == SQLITE_OK)
            code = storePicture.prepare(db, std::string("UPDATE documents SET picture = ?8, bytes = bytes + ?9"
                                                        " WHERE path = ?1 AND ")
                                                + kSameStamp + " AND picture IS NULL");
        return code;
    }

    // The entries' total as counted for the size bound; false on a fault.
    bool total(std::uint64_t& bytes, int& code) {
        sql::Statement sum;
        if ((code = sum.prepare(db, "SELECT total(bytes) FROM documents")) != SQLITE_OK) return false;
        if ((code = sum.step()) != SQLITE_ROW) return false;
        bytes = static_cast<std::uint64_t>(std::max<std::int64_t>(sum.number(0), 0));
        return true;
    }
};

LayerCache::LayerCache(Options options) : options_(std::move(options)) {}

LayerCache::~LayerCache() {
    flush();
}

void LayerCache::flush() {
    std::vector<Store> entries;
    {
        std::unique_lock queueLock(queueMutex_);
        queueChanged_.wait(queueLock, [this] { return !writing_; });
        entries = takeQueue(queueLock);
    }
    queueChanged_.notify_all(); // the writer ends now rather than at its deadline
    write(std::move(entries));
    const std::lock_guard lock(mutex_);
    if (db_ && !used_.empty()) flushUses();
    if (db_) sql::execute(db_->db, "PRAGMA wal_checkpoint(TRUNCATE)");
}

std::string LayerCache::file() const {
    return (std::filesystem::path(options_.folder) / kFileName).string();
}

std::string LayerCache::warning() const {
    const std::lock_guard lock(mutex_);
    return warning_;
}

void LayerCache::warn(const std::string& text) {
    if (!warning_.empty()) return;
    warning_ = text;
    if (options_.onWarning) options_.onWarning(text);
}

bool LayerCache::ready() {
    if (!tried_) {
        tried_ = true;
        open();
        const std::lock_guard queueLock(queueMutex_);
        off_ = db_ == nullptr;
        startedEmpty_ = db_ && total_ == 0;
        if (db_) {
            lookups_ = std::make_unique<LookupConnections>(file(), kFind, kLookupConnections);
            lookupsReady_.store(true, std::memory_order_release);
        }
    }
    return db_ != nullptr;
}

// Opens the database; one that is damaged is deleted and made once more.
void LayerCache::open() {
    std::string error;
    if (options_.folder.empty()) return warn("the layer cache has no folder (neither XDG_CACHE_HOME nor HOME is set)");
    if (!makeFolder(options_.folder, error)) return warn("layer cache off: " + error);
    const std::string name = file();
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto db = std::make_unique<Database>();
        int code = db->open(name);
        if (code == SQLITE_OK && db->total(total_, code)) {
            db_ = std::move(db);
            return;
        }
        const std::string message = code == SQLITE_CANTOPEN && !db->db ? std::strerror(errno) : db->message();
        db.reset();
        if (!sql::isDamage(code) || attempt > 0) return warn("layer cache " + name + " off: " + message);
        removeFiles(name);
        warn("layer cache " + name + " was damaged (" + message + "); it is made anew");
    }
}

// A fault while in use: the database is given up for this run, and deleted
// when it is damaged.
void LayerCache::failed(int code, const std::string& doing) {
    const std::string message = db_->message();
    db_.reset();
    {
        const std::lock_guard queueLock(queueMutex_);
        off_ = true;
    }
    if (sql::isDamage(code)) removeFiles(file());
    warn("layer cache " + file() + " off after " + doing + ": " + message);
}

std::optional<psd::Document> LayerCache::find(const std::string& path, const FileStamp& stamp,
                                              const std::function<bool(std::size_t storedBytes)>& beforeDecode) {
    {
        auto queueLock = lockedBriefly(queueMutex_);
        if (off_ || (startedEmpty_ && !writtenHere_.contains(path))) return std::nullopt;
    }
    // Kept by the thread, so that a look-up allocates nothing for the form.
    thread_local LookupConnections::Row row;
    using Answer = LookupConnections::Answer;
    Answer answer = lookupsReady_.load(std::memory_order_acquire) ? lookups_->find(path, row) : Answer::Unavailable;
    if (answer == Answer::Unavailable) answer = findOnWriter(path, row);
    std::optional<psd::Document> document;
    if (answer == Answer::Found
        && FileStamp{static_cast<std::uint64_t>(row.device), static_cast<std::uint64_t>(row.inode), row.size,
                     row.modified, row.changed}
               == stamp
        && row.reader == options_.readerVersion) {
        if (row.used < now() - kUseGrain) noteUse(row.rowid);
        if (!row.data.empty() && (!beforeDecode || beforeDecode(row.data.size()))) document = decodeDocument(row.data);
    }
    if (row.data.capacity() > kKeptFormBytes) row.data = {};
    return document;
}

// The look-up on the writing connection: before the look-up connections are
// open, or when they fail.
LookupConnections::Answer LayerCache::findOnWriter(const std::string& path, LookupConnections::Row& row) {
    auto lock = lockedBriefly(mutex_);
    if (!ready()) return LookupConnections::Answer::Missing;
    sql::Statement& find = db_->find;
    find.bind(1, path);
    const int code = find.step();
    if (code == SQLITE_ROW) LookupConnections::readRow(find, row);
    find.reset();
    if (code != SQLITE_ROW && code != SQLITE_DONE && !sql::isBusy(code)) failed(code, "a look-up");
    return code == SQLITE_ROW ? LookupConnections::Answer::Found : LookupConnections::Answer::Missing;
}

void LayerCache::noteUse(std::int64_t rowid) {
    const std::lock_guard lock(mutex_);
    used_.push_back(rowid);
    if (db_ && used_.size() >= kUsesPerFlush) flushUses();
}

// Writes the entries in one transaction; dropped when another program is
// writing.
void LayerCache::writeStores(std::vector<Store> entries) {
    const std::uint64_t before = total_;
    int code = sql::execute(db_->db, "BEGIN IMMEDIATE");
    if (code == SQLITE_OK) {
        for (const Store& entry : entries)
            if ((code = writeStore(entry)) != SQLITE_DONE) break;
        if (code == SQLITE_DONE) code = sql::execute(db_->db, "COMMIT");
        if (code != SQLITE_OK) sql::execute(db_->db, "ROLLBACK");
    }
    if (code != SQLITE_OK) total_ = before;
    if (code == SQLITE_OK && total_ > options_.maxBytes) evict();
    if (code != SQLITE_OK && !sql::isBusy(code)) failed(code, "a store");
}

// Binds the path and the stamp and reader version of kSameStamp.
void LayerCache::bindEntry(sql::Statement& statement, const std::string& path, const FileStamp& stamp) const {
    statement.bind(1, path);
    statement.bind(2, static_cast<std::int64_t>(stamp.device));
    statement.bind(3, static_cast<std::int64_t>(stamp.inode));
    statement.bind(4, stamp.size);
    statement.bind(5, stamp.modified);
    statement.bind(6, stamp.changed);
    statement.bind(7, std::int64_t{options_.readerVersion});
}

std::optional<std::string> LayerCache::findPicture(const std::string& path, const FileStamp& stamp) {
    const std::lock_guard lock(mutex_);
    if (!ready()) return std::nullopt;
    sql::Statement& find = db_->findPicture;
    bindEntry(find, path, stamp);
    const int code = find.step();
    std::optional<std::string> picture;
    if (code == SQLITE_ROW) picture = std::string(find.bytes(0));
    find.reset();
    if (code != SQLITE_ROW && code != SQLITE_DONE && !sql::isBusy(code)) failed(code, "a look-up");
    return picture;
}

void LayerCache::storePicture(const std::string& path, const FileStamp& stamp, const std::string& picture) {
    const std::lock_guard lock(mutex_);
    if (!ready()) return;
    sql::Statement& store = db_->storePicture;
    bindEntry(store, path, stamp);
    store.bind(8, std::string_view(picture));
    store.bind(9, static_cast<std::int64_t>(picture.size()));
    const int code = store.step();
    store.reset();
    if (code == SQLITE_DONE && sqlite3_changes(db_->db) > 0) total_ += picture.size();
    if (code != SQLITE_DONE && !sql::isBusy(code)) failed(code, "a store");
}

// SQLITE_DONE, or the code of the failure.
int LayerCache::writeStore(const Store& entry) {
    const std::uint64_t counted = entry.form.size() + entry.path.size() + kRowOverhead;
    sql::Statement& store = db_->store;
    bindEntry(store, entry.path, entry.stamp);
    store.bind(8, now());
    store.bind(9, static_cast<std::int64_t>(counted));
    store.bind(10, std::string_view(entry.form));
    const int code = store.step();
    store.reset();
    if (code == SQLITE_DONE) total_ += counted;
    return code;
}

// Marks the rows found since the last flush as used now, in one
// transaction; dropped when another program is writing.
void LayerCache::flushUses() {
    std::vector<std::int64_t> rows = std::move(used_);
    used_.clear();
    int code = sql::execute(db_->db, "BEGIN IMMEDIATE");
    if (code != SQLITE_OK) {
        if (!sql::isBusy(code)) failed(code, "marking entries used");
        return;
    }
    const std::int64_t time = now();
    for (std::int64_t row : rows) {
        db_->use.bind(1, time);
        db_->use.bind(2, row);
        code = db_->use.step();
        db_->use.reset();
        if (code != SQLITE_DONE) break;
    }
    if (code == SQLITE_DONE) code = sql::execute(db_->db, "COMMIT");
    if (code != SQLITE_OK && code != SQLITE_DONE) {
        sql::execute(db_->db, "ROLLBACK");
        if (!sql::isBusy(code)) failed(code, "marking entries used");
    }
}

// Deletes the least recently used entries down to nine tenths of the bound.
void LayerCache::evict() {
    const std::uint64_t goal = options_.maxBytes / 10 * 9;
    while (db_ && total_ > goal) {
        sql::Statement& evict = db_->evict;
        int code = SQLITE_ROW;
        bool deleted = false;
        while ((code = evict.step()) == SQLITE_ROW) {
            total_ -= std::min<std::uint64_t>(total_, static_cast<std::uint64_t>(evict.number(0)));
            deleted = true;
        }
        evict.reset();
        if (code != SQLITE_DONE && !sql::isBusy(code)) failed(code, "making room");
        if (code != SQLITE_DONE || !deleted) return;
    }
}

} // namespace hv::cache
