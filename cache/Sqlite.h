#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace hv::cache::sql {

// One prepared statement of a connection; finalized with it. Every call is
// made by the one thread that holds the connection at the time.
class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;

    // An SQLite result code (SQLITE_OK when prepared).
    int prepare(sqlite3* db, std::string_view text);

    // Binds parameter `index` (from 1): a number, or the bytes as a blob.
    // The bytes are not copied: they must stay as they are until reset().
    void bind(int index, std::int64_t value);
    void bind(int index, std::string_view bytes);
    // SQLITE_ROW, SQLITE_DONE or the error; the statement is reset (with
    // its parameters cleared) by reset() or the next step after DONE.
    int step();
    void reset();

    std::int64_t number(int column) const;
    std::string_view bytes(int column) const; // valid until the next step or reset

private:
    sqlite3_stmt* statement_ = nullptr;
};

// Runs statements without results; an SQLite result code.
int execute(sqlite3* db, const char* text);

// Whether `code` (an extended code too) says the file is no database or is
// damaged, so that only deleting it helps.
bool isDamage(int code);
// Whether another connection holds the lock it needs.
bool isBusy(int code);

} // namespace hv::cache::sql
