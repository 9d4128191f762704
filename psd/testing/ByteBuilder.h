#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace hv::psd::testing {

// Appends big-endian fields to a byte vector; the building block of the test
// writer and of hand-made malformed documents in tests.
class ByteBuilder {
public:
    ByteBuilder& u8(std::uint8_t v) { return put(v, 1); }
    ByteBuilder& u16(std::uint16_t v) { return put(v, 2); }
    ByteBuilder& i16(std::int16_t v) { return put(static_cast<std::uint16_t>(v), 2); }
    ByteBuilder& u32(std::uint32_t v) { return put(v, 4); }
    ByteBuilder& i32(std::int32_t v) { return put(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& u64(std::uint64_t v) { return put(v, 8); }
    // A 4-byte length, or an 8-byte one when `wide`.
    ByteBuilder& length(std::uint64_t v, bool wide) { return put(v, wide ? 8 : 4); }
    // Characters as bytes, e.g. a signature or key.
    ByteBuilder& text(std::string_view s) {
        for (const char c : s) bytes_.push_back(static_cast<std::byte>(c));
        return *this;
    }
    ByteBuilder& bytes(std::span<const std::byte> b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    ByteBuilder& zeros(std::size_t n) {
        bytes_.insert(bytes_.end(), n, std::byte{0});
        return *this;
    }
    // Zero bytes up to the next multiple of `multiple`.
    ByteBuilder& padTo(std::size_t multiple) {
        while (multiple > 1 && bytes_.size() % multiple != 0) bytes_.push_back(std::byte{0});
        return *this;
    }
    // A length followed by the bytes it counts.
    ByteBuilder& section(const ByteBuilder& body, bool wide = false) {
        length(body.size(), wide);
        return bytes(body.data());
    }

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::byte> data() const { return bytes_; }
    const std::vector<std::byte>& vector() const { return bytes_; }

private:
    ByteBuilder& put(std::uint64_t v, int width) {
        for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
            bytes_.push_back(static_cast<std::byte>((v >> shift) & 0xFF));
        return *this;
    }

    std::vector<std::byte> bytes_;
};

} // namespace hv::psd::testing
