#include "Console.h"

#include "MatchFormat.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace hv::find {

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd wait{fd, POLLOUT, 0};
            ::poll(&wait, 1, -1);
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

void keepStandardDescriptorsOpen() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) ::close(opened); // fd was taken meanwhile
    }
}

bool OutputStream::flush() {
    if (state_ == State::Open && !buffer_.empty()) {
        const int error = writeAll(fd_, buffer_);
        if (error == EPIPE || error == EBADF) {
            state_ = State::ReaderGone;
        } else if (error != 0) {
            state_ = State::Failed;
            error_ = error;
        }
    }
    buffer_.clear();
    return state_ == State::Open;
}

void ProgressLine::show(const std::string& text) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (onScreen_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    onScreen_ = true;
    writeAll(fd_, "\r" + text + "\x1b[K");
}

void ProgressLine::clear() {
    if (!onScreen_) return;
    onScreen_ = false;
    writeAll(fd_, "\r\x1b[K");
}

void ErrorLog::failed(std::string_view path, std::string_view reason) {
    ++failures_;
    write(escapeControls(path) + ": " + escapeControls(reason) + "\n");
}

void ErrorLog::failed(std::string_view text) {
    ++failures_;
    write("halvorine-find: " + escapeControls(text) + "\n");
}

void ErrorLog::warned(std::string_view text) {
    write("halvorine-find: warning: " + escapeControls(text) + "\n");
}

void ErrorLog::write(const std::string& line) {
    progress_.clear();
    writeAll(fd_, line);
}

} // namespace hv::find
