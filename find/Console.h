#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace hv::find {

// Buffered output to a file descriptor, written out by flush(). A reader
// that went away (a closed pipe, a closed descriptor) ends the output
// quietly; any other failure is kept for the caller to report.
class OutputStream {
public:
    enum class State { Open, ReaderGone, Failed };

    explicit OutputStream(int fd) : fd_(fd) {}
    void append(std::string_view bytes) { buffer_ += bytes; }
    bool pending() const { return !buffer_.empty(); }
    // Writes everything appended so far; false once the output is no longer
    // open (what was not written is dropped).
    bool flush();
    State state() const { return state_; }
    int error() const { return error_; } // errno of a Failed write

private:
    int fd_;
    std::string buffer_;
    State state_ = State::Open;
    int error_ = 0;
};

// One line on a terminal that is rewritten in place, at most ten times a
// second; nothing when `shown` is false.
class ProgressLine {
public:
    ProgressLine(int fd, bool shown) : fd_(fd), shown_(shown) {}
    void show(const std::string& text);
    // Removes the line, so that other output starts at the left margin.
    void clear();

private:
    int fd_;
    bool shown_;
    bool onScreen_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// Lines on the error output, each written at once, after clearing the
// progress line.
class ErrorLog {
public:
    ErrorLog(int fd, ProgressLine& progress) : fd_(fd), progress_(progress) {}
    // "path: reason", with control characters of both escaped.
    void failed(std::string_view path, std::string_view reason);
    // "halvorine-find: text", for a failure that belongs to no one path.
    void failed(std::string_view text);
    // "halvorine-find: warning: text", which is no failure.
    void warned(std::string_view text);
    std::size_t failures() const { return failures_; }

private:
    void write(const std::string& line);

    int fd_;
    ProgressLine& progress_;
    std::size_t failures_ = 0;
};

// Writes all of `bytes`, retrying after interruptions and while a
// non-blocking descriptor is full; the errno of a failure, or 0.
int writeAll(int fd, std::string_view bytes);

// Opens /dev/null on each of descriptors 0, 1 and 2 that the caller left
// closed. Otherwise the next file the process opens would take that number,
// and the output meant for a closed stdout would land in it.
void keepStandardDescriptorsOpen();

} // namespace hv::find
