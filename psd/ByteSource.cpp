#include "psd/ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv::psd {

bool MemorySource::readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) {
    if (offset > data_.size() || out.size() > data_.size() - offset) {
        error = "read outside the document";
        return false;
    }
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    fetched_ += out.size();
    return true;
}

std::unique_ptr<FileSource> FileSource::open(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "no file name given";
        return nullptr;
    }
    // O_NONBLOCK keeps a FIFO from blocking the open; such files are refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = std::string("cannot open the file: ") + std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = std::string("cannot examine the file: ") + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "this is a folder, not a document";
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "this is not a regular file";
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileSource>(new FileSource(fd, static_cast<std::uint64_t>(st.st_size)));
}

FileSource::~FileSource() {
    ::close(fd_);
}

bool FileSource::readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            error = "read error at byte " + std::to_string(offset + done) + ": " + std::strerror(errno);
            return false;
        }
        if (got == 0) {
            error = "the file ended at byte " + std::to_string(offset + done)
                    + " while it was being read (it was changed or shortened)";
            return false;
        }
        done += static_cast<std::size_t>(got);
        fetched_ += static_cast<std::uint64_t>(got);
    }
    return true;
}

WindowedSource::WindowedSource(ByteSource& inner, std::size_t window)
    : inner_(inner),
      window_(std::max<std::size_t>(window, 1)) {}

bool WindowedSource::readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) {
    const std::uint64_t size = inner_.size();
    if (offset > size || out.size() > size - offset) {
        error = "read outside the document";
        return false;
    }
    if (out.size() > window_.size()) return inner_.readAt(offset, out, error);
    const bool hit = offset >= windowOffset_ && offset - windowOffset_ <= windowFill_
                     && out.size() <= windowFill_ - (offset - windowOffset_);
    if (!hit) {
        const std::size_t fill = static_cast<std::size_t>(std::min<std::uint64_t>(window_.size(), size - offset));
        windowFill_ = 0;
        if (!inner_.readAt(offset, std::span(window_).first(fill), error)) return false;
        windowOffset_ = offset;
        windowFill_ = fill;
    }
    const auto from = window_.begin() + static_cast<std::ptrdiff_t>(offset - windowOffset_);
    std::copy_n(from, out.size(), out.begin());
    return true;
}

} // namespace hv::psd
