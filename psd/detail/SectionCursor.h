#pragma once

#include "psd/ByteSource.h"
#include "psd/LayerReader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace hv::psd::detail {

using Tag = std::array<char, 4>;

constexpr Tag tag(const char (&text)[5]) {
    return {text[0], text[1], text[2], text[3]};
}

// State shared by every cursor of one parse: the source and the first
// failure. After a failure every read yields zeros and changes nothing, so
// the parser only has to look at failed() before it loops or allocates.
class ParseContext {
public:
    explicit ParseContext(ByteSource& source) : source_(source), fileSize_(source.size()) {}

    std::uint64_t fileSize() const { return fileSize_; }
    ByteSource& source() const { return source_; }
    bool failed() const { return error_.has_value(); }
    const ReadError& error() const { return *error_; }
    void fail(std::uint64_t offset, std::string message);
    // Adds where the failure happened to its message.
    void amend(const std::string& where);
    // Reads from the source; the range must lie inside the file.
    bool fetch(std::uint64_t offset, std::span<std::byte> out);

private:
    ByteSource& source_;
    std::uint64_t fileSize_;
    std::optional<ReadError> error_;
};

// A position inside one section [begin, end) of the file. Every read is
// checked against the section's end without overflow, and a section taken
// from a cursor always lies inside it, so nothing is ever read outside the
// file. `field` names what is read, for the failure message.
class SectionCursor {
public:
    SectionCursor(ParseContext& context, std::uint64_t begin, std::uint64_t end, std::string name);

    std::uint64_t position() const { return pos_; }
    std::uint64_t end() const { return end_; }
    std::uint64_t remaining() const { return end_ - pos_; }
    const std::string& name() const { return name_; }
    bool failed() const { return context_.failed(); }
    ParseContext& context() const { return context_; }

    std::uint8_t u8(const char* field);
    std::uint16_t u16(const char* field);
    std::int16_t i16(const char* field);
    std::uint32_t u32(const char* field);
    std::uint64_t u64(const char* field);
    // A 4-byte length, or an 8-byte one when `wide`.
    std::uint64_t length(bool wide, const char* field);
    Tag readTag(const char* field);
    void read(std::span<std::byte> out, const char* field);
    void skip(std::uint64_t count, const char* field);

    // Reads without moving and without failing: false when the bytes are not
    // all inside the section.
    bool peek(std::uint64_t offset, std::span<std::byte> out);
    std::optional<Tag> peekTag(std::uint64_t offset);
    // Moves to an absolute offset in [position(), end()].
    void moveTo(std::uint64_t offset);

    // The next `length` bytes as a section of their own; this cursor moves
    // past them. `lengthAt` is where the length was stored, for the message.
    SectionCursor take(std::uint64_t length, std::string name, std::uint64_t lengthAt);
    // Reads a 4-byte (or, when `wide`, 8-byte) length and takes that section.
    SectionCursor takeLengthPrefixed(bool wide, std::string name);

private:
    bool need(std::uint64_t count, const char* field);
    template <typename T>
    T readBigEndian(const char* field);

    ParseContext& context_;
    std::uint64_t pos_;
    std::uint64_t end_;
    std::string name_;
};

} // namespace hv::psd::detail
