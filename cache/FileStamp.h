#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace hv::cache {

// What tells a file's content unchanged: while its device, inode, size,
// modification time and status-change time (nanoseconds) are all the same,
// nothing has written to it, renamed another file over it or replaced it.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch
    std::int64_t changed = 0;  // status change, nanoseconds since the epoch

    bool operator==(const FileStamp&) const = default;

    // One status request (stat, following links); nothing when `path` is
    // missing, unreadable or no regular file.
    static std::optional<FileStamp> of(const std::string& path);
};

} // namespace hv::cache
