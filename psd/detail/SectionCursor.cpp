#include "psd/detail/SectionCursor.h"

#include <algorithm>

namespace hv::psd::detail {

void ParseContext::fail(std::uint64_t offset, std::string message) {
    if (!error_) error_ = ReadError{offset, std::move(message)};
}

void ParseContext::amend(const std::string& where) {
    if (error_) error_->message += where;
}

bool ParseContext::fetch(std::uint64_t offset, std::span<std::byte> out) {
    if (failed()) return false;
    if (out.empty()) return true;
    std::string why;
    if (!source_.readAt(offset, out, why)) {
        fail(offset, "cannot read the file: " + why);
        return false;
    }
    return true;
}

SectionCursor::SectionCursor(ParseContext& context, std::uint64_t begin, std::uint64_t end, std::string name)
    : context_(context),
      pos_(begin),
      end_(std::max(begin, end)),
      name_(std::move(name)) {}

bool SectionCursor::need(std::uint64_t count, const char* field) {
    if (context_.failed()) return false;
    if (count <= end_ - pos_) return true;
    // A section never reaches past the file, so only one that ends with the
    // file can be cut off by it.
    const std::uint64_t fileSize = context_.fileSize();
    if (end_ == fileSize) {
        context_.fail(fileSize, "truncated at byte " + std::to_string(fileSize) + ": the " + field + " at byte "
                                    + std::to_string(pos_) + " is cut off");
    } else {
        context_.fail(pos_, std::string("the ") + field + " at byte " + std::to_string(pos_)
                                + " runs past the end of the " + name_ + " at byte " + std::to_string(end_));
    }
    return false;
}

template <typename T>
T SectionCursor::readBigEndian(const char* field) {
    std::array<std::byte, sizeof(T)> raw{};
    if (!need(raw.size(), field) || !context_.fetch(pos_, raw)) return 0;
    pos_ += raw.size();
    T value = 0;
    for (const std::byte b : raw) value = static_cast<T>((value << 8) | static_cast<T>(b));
    return value;
}

std::uint8_t SectionCursor::u8(const char* field) {
    return readBigEndian<std::uint8_t>(field);
}

std::uint16_t SectionCursor::u16(const char* field) {
    return readBigEndian<std::uint16_t>(field);
}

std::int16_t SectionCursor::i16(const char* field) {
    return static_cast<std::int16_t>(readBigEndian<std::uint16_t>(field));
}

std::uint32_t SectionCursor::u32(const char* field) {
    return readBigEndian<std::uint32_t>(field);
}

std::uint64_t SectionCursor::u64(const char* field) {
    return readBigEndian<std::uint64_t>(field);
}

std::uint64_t SectionCursor::length(bool wide, const char* field) {
    return wide ? u64(field) : u32(field);
}

Tag SectionCursor::readTag(const char* field) {
    std::array<std::byte, 4> raw{};
    read(raw, field);
    Tag result{};
    std::transform(raw.begin(), raw.end(), result.begin(), [](std::byte b) { return static_cast<char>(b); });
    return result;
}

void SectionCursor::read(std::span<std::byte> out, const char* field) {
    if (!need(out.size(), field) || !context_.fetch(pos_, out)) {
        std::fill(out.begin(), out.end(), std::byte{0});
        return;
    }
    pos_ += out.size();
}

void SectionCursor::skip(std::uint64_t count, const char* field) {
    if (need(count, field)) pos_ += count;
}

bool SectionCursor::peek(std::uint64_t offset, std::span<std::byte> out) {
    if (context_.failed() || offset < pos_ || offset > end_ || out.size() > end_ - offset) return false;
    return context_.fetch(offset, out);
}

std::optional<Tag> SectionCursor::peekTag(std::uint64_t offset) {
    std::array<std::byte, 4> raw{};
    if (!peek(offset, raw)) return std::nullopt;
    Tag result{};
    std::transform(raw.begin(), raw.end(), result.begin(), [](std::byte b) { return static_cast<char>(b); });
    return result;
}

void SectionCursor::moveTo(std::uint64_t offset) {
    if (!context_.failed() && offset >= pos_ && offset <= end_) pos_ = offset;
}

SectionCursor SectionCursor::take(std::uint64_t length, std::string name, std::uint64_t lengthAt) {
    if (context_.failed()) return SectionCursor(context_, pos_, pos_, std::move(name));
    if (length > end_ - pos_) {
        const std::uint64_t fileSize = context_.fileSize();
        if (end_ == fileSize) {
            context_.fail(fileSize, "truncated at byte " + std::to_string(fileSize) + ": the " + name + " ("
                                        + std::to_string(length) + " bytes from byte " + std::to_string(pos_)
                                        + ") runs past the end of the file");
        } else {
            context_.fail(lengthAt, "the length " + std::to_string(length) + " of the " + name + " at byte "
                                        + std::to_string(lengthAt) + " runs past the end of the " + name_ + " at byte "
                                        + std::to_string(end_));
        }
        return SectionCursor(context_, pos_, pos_, std::move(name));
    }
    SectionCursor section(context_, pos_, pos_ + length, std::move(name));
    pos_ += length;
    return section;
}

SectionCursor SectionCursor::takeLengthPrefixed(bool wide, std::string name) {
    const std::uint64_t lengthAt = pos_;
    const std::string field = name + " length";
    const std::uint64_t len = length(wide, field.c_str());
    return take(len, std::move(name), lengthAt);
}

} // namespace hv::psd::detail
