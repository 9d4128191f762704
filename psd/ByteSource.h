#pragma once

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

private:
    FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    int fd_;
    std::uint64_t size_;
    std::uint64_t fetched_ = 0;
};

// Serves the many small reads of a parse from one window of the underlying
// source, refilled on a miss. Reads larger than the window go straight through.
class WindowedSource final : public ByteSource {
public:
    static constexpr std::size_t defaultWindow = 4096;
    explicit WindowedSource(ByteSource& inner, std::size_t window = defaultWindow);

    std::uint64_t size() const override { return inner_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override;
    std::uint64_t bytesFetched() const override { return inner_.bytesFetched(); }

private:
    ByteSource& inner_;
    std::vector<std::byte> window_;
    std::uint64_t windowOffset_ = 0;
    std::size_t windowFill_ = 0;
};

} // namespace hv::psd
