#include "cache/LookupConnections.h"

#include "cache/Sqlite.h"
#include "workers/BriefLock.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

namespace hv::cache {

namespace {

// Waits for another program's write no longer than a store does.
constexpr int kWaitMs = 50;
// Each connection keeps at most this much of the database in memory (KiB).
constexpr const char* kPageCache = "PRAGMA cache_size = -1024";

// The connection each thread tries first: threads are spread over them.
std::size_t firstChoice(std::size_t count) {
    static std::atomic<std::size_t> threads{0};
    thread_local const std::size_t thread = threads.fetch_add(1, std::memory_order_relaxed);
    return thread % count;
}

} // namespace

struct LookupConnections::Connection {
    std::mutex mutex;
    bool tried = false; // opened once; db is null when that failed or it was closed
    sqlite3* db = nullptr;
    sql::Statement find;

    ~Connection() { close(); }

    void close() {
        find = {};
        sqlite3_close(std::exchange(db, nullptr));
    }

    bool open(const std::string& file, const std::string& query) {
        tried = true;
        if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK
            || sqlite3_busy_timeout(db, kWaitMs) != SQLITE_OK || sql::execute(db, kPageCache) != SQLITE_OK
            || find.prepare(db, query) != SQLITE_OK) {
            close();
            return false;
        }
        return true;
    }
};

LookupConnections::LookupConnections(std::string file, std::string query, std::size_t count)
    : file_(std::move(file)),
      query_(std::move(query)) {
    for (std::size_t i = 0; i < std::max<std::size_t>(count, 1); ++i)
        connections_.push_back(std::make_unique<Connection>());
}

LookupConnections::~LookupConnections() = default;

LookupConnections::Answer LookupConnections::find(std::string_view path, Row& row) {
    const std::size_t count = connections_.size();
    const std::size_t first = firstChoice(count);
    for (std::size_t i = 0; i < count; ++i) {
        Connection& connection = *connections_[(first + i) % count];
        std::unique_lock lock(connection.mutex, std::try_to_lock);
        if (lock) return findOn(connection, path, row);
    }
    Connection& connection = *connections_[first];
    auto lock = lockedBriefly(connection.mutex);
    return findOn(connection, path, row);
}

void LookupConnections::readRow(const sql::Statement& found, Row& row) {
    row.rowid = found.number(0);
    row.device = found.number(1);
    row.inode = found.number(2);
    row.size = found.number(3);
    row.modified = found.number(4);
    row.changed = found.number(5);
    row.reader = found.number(6);
    row.data.assign(found.bytes(7));
    row.used = found.number(8);
}

// With the connection's lock held.
LookupConnections::Answer LookupConnections::findOn(Connection& connection, std::string_view path, Row& row) {
    if (!connection.tried && !connection.open(file_, query_)) return Answer::Unavailable;
    if (!connection.db) return Answer::Unavailable;
    sql::Statement& find = connection.find;
    find.bind(1, path);
    const int code = find.step();
    if (code == SQLITE_ROW) readRow(find, row);
    find.reset();
    if (code == SQLITE_ROW) return Answer::Found;
    if (code == SQLITE_DONE || sql::isBusy(code)) return Answer::Missing;
    connection.close();
    return Answer::Unavailable;
}

} // namespace hv::cache
