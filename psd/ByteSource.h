#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace hv::psd {

// Random access to the bytes of one document. The reader asks only for
// ranges inside [0, size()), so a source never has to guess what lies beyond.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills `out` with the bytes at `offset`. On failure returns false and
    // sets `error` to a short description (for instance an I/O error).
    virtual bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) = 0;
    // Bytes this source has fetched from its storage so far.
    virtual std::uint64_t bytesFetched() const = 0;
    // A hint: the parse goes on through [begin, end), front to back, and
    // needs nothing after it. A source that fetches ahead stops at `end`.
    virtual void expect(std::uint64_t begin, std::uint64_t end) {
        static_cast<void>(begin);
        static_cast<void>(end);
    }
};

// A document held in memory (tests, the fuzzer).
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::byte> data) : data_(data) {}
    std::uint64_t size() const override { return data_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override;
    std::uint64_t bytesFetched() const override { return fetched_; }

private:
    std::span<const std::byte> data_;
    std::uint64_t fetched_ = 0;
};

// A regular file read with pread(); every read goes to the file, so
// bytesFetched() is exactly what the document cost in I/O.
class FileSource final : public ByteSource {
public:
    // Opens `path` for reading. Returns null and sets `error` when the path
    // cannot be opened or is not a regular file.
    static std::unique_ptr<FileSource> open(const std::string& path, std::string& error);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override;
    std::uint64_t bytesFetched() const override { return fetched_; }
    // readAt() calls so far: on a network share each one is a round trip.
    std::uint64_t requests() const { return requests_; }

private:
    FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    int fd_;
    std::uint64_t size_;
    std::uint64_t fetched_ = 0;
    std::uint64_t requests_ = 0;
};

// How a WindowedSource sizes the reads it sends to its source.
struct WindowPlan {
    std::size_t first = 4096;   // the first read
    std::size_t jump = 4096;    // a read that does not go on from the last one
    std::size_t largest = 4096; // reads that go on from the last one double, from `jump`, up to this
    std::size_t gap = 0;        // a read starting at most this far past a window's end goes on from it
    std::size_t whole = 0;      // the rest of the expected range, when at most this long, is read at once
};

// The plan for documents in files, for a layer listing that needs the
// header, the section lengths and the layer records, and never pixel data:
// - The first read, 1 KiB, holds the header and the lengths of the colour
//   data and the image resources (they end by byte 802 in every document of
//   the reference corpus and the generated one).
// - The layer and mask section is reached in one jump over the image
//   resources. Its first read is 16 KiB (the records of 94 in 100 reference
//   documents end within it); once the section's length is known (expect()),
//   no read goes past its end, so the merged image after it is never read,
//   and a rest of at most 64 KiB is read in one request.
// - A longer run of records is read in chunks that double from 16 KiB up to
//   2 MiB. A read starting within 4 KiB after a window goes on from it
//   (fields skipped between records must not stop the growth), so a million
//   records take about 30 reads; one starting further on is a new jump.
inline constexpr WindowPlan documentPlan{1024, 16 * 1024, 2 * 1024 * 1024, 4 * 1024, 64 * 1024};

// Serves the many small reads of a parse from two windows of the underlying
// source, refilled on a miss as the plan says: the parse looks ahead past a
// block now and then (to the next block, which may lie beyond gigabytes of
// pixel data) and the second window keeps that from costing the records'
// window. Reads larger than the largest window go straight through.
class WindowedSource final : public ByteSource {
public:
    static constexpr std::size_t defaultWindow = 4096;
    // Every read `window` bytes long.
    explicit WindowedSource(ByteSource& inner, std::size_t window = defaultWindow);
    WindowedSource(ByteSource& inner, const WindowPlan& plan);

    std::uint64_t size() const override { return inner_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override;
    std::uint64_t bytesFetched() const override { return inner_.bytesFetched(); }
    void expect(std::uint64_t begin, std::uint64_t end) override;

private:
    struct Window {
        std::vector<std::byte> bytes;
        std::uint64_t offset = 0;
        std::size_t fill = 0;
        std::size_t lastRead = 0; // size of its last refill, 0 before the first

        bool holds(std::uint64_t at, std::size_t count) const {
            return at >= offset && at - offset <= fill && count <= fill - (at - offset);
        }
    };

    Window* refill(std::uint64_t offset, std::size_t atLeast, std::string& error);
    std::uint64_t sized(std::uint64_t offset, std::uint64_t want) const;

    ByteSource& inner_;
    WindowPlan plan_;
    std::array<Window, 2> windows_;
    std::size_t recent_ = 0; // the window used last
    std::uint64_t expectedBegin_ = 0;
    std::uint64_t expectedEnd_ = 0; // no range expected while begin == end
};

} // namespace hv::psd
