#include "psd/ByteSource.h"

#include "psd/SlowCalls.h"

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
    const int fd = timedFileCall([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); });
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
    ++requests_;
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = timedFileCall(
            [&] { return ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done)); });
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
    : WindowedSource(inner, WindowPlan{std::max<std::size_t>(window, 1), std::max<std::size_t>(window, 1),
                                       std::max<std::size_t>(window, 1)}) {}

WindowedSource::WindowedSource(ByteSource& inner, const WindowPlan& plan) : inner_(inner), plan_(plan) {
    plan_.first = std::max<std::size_t>(plan_.first, 1);
    plan_.jump = std::max<std::size_t>(plan_.jump, 1);
    plan_.largest = std::max({plan_.largest, plan_.first, plan_.jump});
}

bool WindowedSource::readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) {
    const std::uint64_t size = inner_.size();
    if (offset > size || out.size() > size - offset) {
        error = "read outside the document";
        return false;
    }
    if (out.empty()) return true;
    if (out.size() > plan_.largest) return inner_.readAt(offset, out, error);
    Window* window = nullptr;
    for (std::size_t i = 0; i < windows_.size() && !window; ++i) {
        if (windows_[i].holds(offset, out.size())) {
            window = &windows_[i];
            recent_ = i;
        }
    }
    if (!window && !(window = refill(offset, out.size(), error))) return false;
    std::copy_n(window->bytes.begin() + static_cast<std::ptrdiff_t>(offset - window->offset), out.size(), out.begin());
    return true;
}

void WindowedSource::expect(std::uint64_t begin, std::uint64_t end) {
    expectedBegin_ = begin;
    expectedEnd_ = std::max(begin, std::min(end, inner_.size()));
}

// A read that starts inside a window or at most plan.gap past its end goes
// on from it, replaces it and doubles; one elsewhere is a jump and replaces
// the window used less recently.
WindowedSource::Window* WindowedSource::refill(std::uint64_t offset, std::size_t atLeast, std::string& error) {
    std::size_t index = 1 - recent_;
    std::size_t want = windows_[recent_].lastRead == 0 ? plan_.first : plan_.jump;
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        const Window& w = windows_[i];
        if (w.lastRead > 0 && offset >= w.offset && offset - w.offset <= w.fill + plan_.gap) {
            index = i;
            want = std::clamp(w.lastRead * 2, plan_.jump, plan_.largest);
            break;
        }
    }
    Window& window = windows_[index];
    const auto fill = std::max(static_cast<std::size_t>(sized(offset, want)), atLeast);
    if (window.bytes.size() < fill) window.bytes.resize(fill);
    window.fill = 0;
    if (!inner_.readAt(offset, std::span(window.bytes).first(fill), error)) return nullptr;
    window.offset = offset;
    window.fill = fill;
    window.lastRead = std::max(want, atLeast);
    recent_ = index;
    return &window;
}

// Inside the expected range a read stops at its end, and takes all the rest
// when that is short; elsewhere it stops at the end of the source.
std::uint64_t WindowedSource::sized(std::uint64_t offset, std::uint64_t want) const {
    if (offset >= expectedBegin_ && offset < expectedEnd_) {
        const std::uint64_t rest = expectedEnd_ - offset;
        return rest <= plan_.whole ? rest : std::min(want, rest);
    }
    return std::min(want, inner_.size() - offset);
}

} // namespace hv::psd
