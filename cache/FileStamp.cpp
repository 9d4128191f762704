#include "cache/FileStamp.h"

#include "psd/SlowCalls.h"

#include <sys/stat.h>

namespace hv::cache {

namespace {

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

} // namespace

std::optional<FileStamp> FileStamp::of(const std::string& path) {
    struct stat status {};
    if (psd::timedFileCall([&] { return ::stat(path.c_str(), &status); }) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                     static_cast<std::int64_t>(status.st_size), nanoseconds(status.st_mtim),
                     nanoseconds(status.st_ctim)};
}

} // namespace hv::cache
