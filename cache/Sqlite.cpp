#include "cache/Sqlite.h"

#include <sqlite3.h>

#include <utility>

namespace hv::cache::sql {

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement::Statement(Statement&& other) noexcept : statement_(std::exchange(other.statement_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

int Statement::prepare(sqlite3* db, std::string_view text) {
    sqlite3_finalize(std::exchange(statement_, nullptr));
    return sqlite3_prepare_v3(db, text.data(), static_cast<int>(text.size()), SQLITE_PREPARE_PERSISTENT, &statement_,
                              nullptr);
}

void Statement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
}

void Statement::bind(int index, std::string_view bytes) {
    // An empty blob is bound as an empty blob, not as NULL. Not copied: see
    // the declaration.
    sqlite3_bind_blob64(statement_, index, bytes.empty() ? "" : bytes.data(), bytes.size(), SQLITE_STATIC);
}

int Statement::step() {
    return sqlite3_step(statement_);
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::number(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string_view Statement::bytes(int column) const {
    const void* data = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (!data || size <= 0) return {};
    return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

int execute(sqlite3* db, const char* text) {
    return sqlite3_exec(db, text, nullptr, nullptr, nullptr);
}

bool isDamage(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool isBusy(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

} // namespace hv::cache::sql
