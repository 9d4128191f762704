#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hv::cache {

namespace sql {
class Statement;
}

// Read-only connections to the layer cache's database, beside the one that
// writes, so that the read-ahead's workers look documents up side by side
// instead of in turn. Each is opened on first use and taken by one thread at
// a time; a caller takes a free one, or waits for the one its thread was
// given. A connection that cannot be opened, or that fails, is closed and
// not used again: the caller then asks the writing connection, which deals
// with the fault.
class LookupConnections {
public:
    // What the database holds for a path.
    struct Row {
        std::int64_t rowid = 0;
        std::int64_t device = 0, inode = 0, size = 0, modified = 0, changed = 0;
        std::int64_t reader = 0; // the reader version that wrote it
        std::int64_t used = 0;
        std::string data; // the stored form
    };
    enum class Answer { Found, Missing, Unavailable };
    // The row a step of `query` (below) gave, into `row` (its buffer kept).
    static void readRow(const sql::Statement& found, Row& row);

    // `query` selects the row's columns, in Row's order, for the path ?1.
    LookupConnections(std::string file, std::string query, std::size_t count);
    ~LookupConnections();
    LookupConnections(const LookupConnections&) = delete;
    LookupConnections& operator=(const LookupConnections&) = delete;

    // A database busy with another program's write answers Missing.
    Answer find(std::string_view path, Row& row);

private:
    struct Connection;
    Answer findOn(Connection& connection, std::string_view path, Row& row);

    const std::string file_;
    const std::string query_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

} // namespace hv::cache
