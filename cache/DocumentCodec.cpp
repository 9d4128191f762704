#include "cache/DocumentCodec.h"

#include <algorithm>
#include <cstdint>

namespace hv::cache {

namespace {

// The first byte of every form; raise it when the layout below changes.
constexpr std::uint8_t kLayout = 2;

// Whether every unit takes one byte: a test and a copy of whole strings run
// several units at a time.
bool isAscii(const std::u16string& value) {
    unsigned any = 0;
    for (char16_t unit : value) any |= unit;
    return any < 0x80;
}

// Writes a form into memory of its exact size, which Counter found.
class Writer {
public:
    explicit Writer(char* out) : at_(out) {}
    void byte(std::uint8_t value) { *at_++ = static_cast<char>(value); }
    void number(std::uint64_t value) {
        while (value >= 0x80) {
            byte(static_cast<std::uint8_t>(value | 0x80));
            value >>= 7;
        }
        byte(static_cast<std::uint8_t>(value));
    }
    // Each code unit as a number: one byte for ASCII, and any unit (a lone
    // surrogate too) comes back as it was.
    void text(const std::u16string& value) {
        number(value.size());
        if (isAscii(value)) {
            at_ =
                std::transform(value.begin(), value.end(), at_, [](char16_t unit) { return static_cast<char>(unit); });
            return;
        }
        for (char16_t unit : value) number(unit);
    }
    void text(const std::string& value) {
        number(value.size());
        at_ = std::copy(value.begin(), value.end(), at_);
    }

private:
    char* at_;
};

// Takes the calls a Writer takes and counts the bytes they would write.
class Counter {
public:
    void byte(std::uint8_t) { ++size_; }
    void number(std::uint64_t value) {
        do {
            ++size_;
            value >>= 7;
        } while (value != 0);
    }
    void text(const std::u16string& value) {
        number(value.size());
        size_ += value.size();
        if (isAscii(value)) return;
        for (char16_t unit : value) size_ += (unit >= 0x80) + (unit >= 0x4000);
    }
    void text(const std::string& value) {
        number(value.size());
        size_ += value.size();
    }
    std::size_t size() const { return size_; }

private:
    std::size_t size_ = 0;
};

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool failed() const { return failed_; }
    bool atEnd() const { return at_ == in_.size(); }
    std::size_t remaining() const { return in_.size() - at_; }
    void reject() { fail(); }

    std::uint8_t byte() {
        if (at_ >= in_.size()) return fail();
        return static_cast<std::uint8_t>(in_[at_++]);
    }
    // A varint no larger than `limit`.
    std::uint64_t number(std::uint64_t limit) {
        std::uint64_t value = 0;
        for (unsigned shift = 0; shift < 64 && !failed_; shift += 7) {
            const std::uint8_t b = byte();
            if (shift == 63 && (b & 0x7e) != 0) break;
            value |= std::uint64_t{b & 0x7fu} << shift;
            if ((b & 0x80) == 0) return value <= limit ? value : fail();
        }
        return fail();
    }
    std::u16string text16() {
        const std::uint64_t units = number(remaining());
        if (failed_) return {};
        // Each unit takes a byte at least, so `units` bytes remain. When none
        // of them has its high bit set, each is one unit (most names).
        const std::string_view run = in_.substr(at_, units);
        unsigned any = 0;
        for (char byte : run) any |= static_cast<unsigned char>(byte);
        if (any < 0x80) {
            at_ += units;
            return std::u16string(run.begin(), run.end());
        }
        std::u16string value(units, u'\0');
        for (char16_t& unit : value) unit = static_cast<char16_t>(number(0xffff));
        return value;
    }
    std::string text8() {
        const std::uint64_t length = number(remaining());
        if (failed_) return {};
        std::string value(in_.substr(at_, length));
        at_ += length;
        return value;
    }

private:
    std::uint8_t fail() {
        failed_ = true;
        at_ = in_.size();
        return 0;
    }

    std::string_view in_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

// Item kind in bits 0-1, layer kind in bits 2-4, visibility in bit 5.
std::uint8_t packFlags(const psd::LayerItem& item) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(item.kind) | static_cast<unsigned>(item.layerKind) << 2
                                     | (item.visible ? 1u : 0u) << 5);
}

bool unpackFlags(std::uint8_t flags, psd::LayerItem& item) {
    const unsigned kind = flags & 3u, layerKind = flags >> 2 & 7u;
    if (kind > static_cast<unsigned>(psd::ItemKind::ClosedGroup)) return false;
    if (layerKind > static_cast<unsigned>(psd::LayerKind::Adjustment) || (flags >> 6) != 0) return false;
    item.kind = static_cast<psd::ItemKind>(kind);
    item.layerKind = static_cast<psd::LayerKind>(layerKind);
    item.visible = (flags & 0x20) != 0;
    return true;
}

// The fewest bytes an item takes: flags and five one-byte numbers.
constexpr std::size_t kSmallestItem = 6;

psd::LayerItem readItem(Reader& in, std::size_t count) {
    psd::LayerItem item;
    item.name = in.text16();
    if (!unpackFlags(in.byte(), item)) in.reject();
    item.depth = static_cast<std::uint32_t>(in.number(UINT32_MAX));
    const std::uint64_t group = in.number(count);
    item.group = group == 0 ? psd::LayerItem::noGroup : static_cast<std::size_t>(group - 1);
    item.text = in.text16();
    item.detailError = in.text8();
    return item;
}

// The form, through a Writer or a Counter.
template <class Out>
void writeForm(Out& out, const psd::Document& document) {
    out.byte(kLayout);
    const psd::Header& h = document.header;
    for (std::uint64_t value : {std::uint64_t{h.version}, std::uint64_t{h.channels}, std::uint64_t{h.height},
                                std::uint64_t{h.width}, std::uint64_t{h.depth}, std::uint64_t{h.colorMode}})
        out.number(value);
    out.number(document.items.size());
    for (const psd::LayerItem& item : document.items) {
        out.text(item.name);
        out.byte(packFlags(item));
        out.number(item.depth);
        out.number(item.group == psd::LayerItem::noGroup ? 0 : std::uint64_t{item.group} + 1);
        out.text(item.text);
        out.text(item.detailError);
    }
}

} // namespace

std::string encodeDocument(const psd::Document& document) {
    // Counted first: written at once into its own size, and a form too long
    // to keep is never made.
    Counter counter;
    writeForm(counter, document);
    if (counter.size() > maxEncodedBytes) return {};
    std::string bytes(counter.size(), '\0');
    Writer out(bytes.data());
    writeForm(out, document);
    return bytes;
}

std::optional<psd::Document> decodeDocument(std::string_view bytes) {
    if (bytes.size() > maxEncodedBytes) return std::nullopt;
    Reader in(bytes);
    if (in.byte() != kLayout) return std::nullopt;
    psd::Document document;
    psd::Header& h = document.header;
    h.version = static_cast<std::uint16_t>(in.number(UINT16_MAX));
    h.channels = static_cast<std::uint16_t>(in.number(UINT16_MAX));
    h.height = static_cast<std::uint32_t>(in.number(UINT32_MAX));
    h.width = static_cast<std::uint32_t>(in.number(UINT32_MAX));
    h.depth = static_cast<std::uint16_t>(in.number(UINT16_MAX));
    h.colorMode = static_cast<std::uint16_t>(in.number(UINT16_MAX));
    const std::size_t count = static_cast<std::size_t>(in.number(in.remaining() / kSmallestItem));
    if (in.failed()) return std::nullopt;
    document.items.reserve(count);
    for (std::size_t i = 0; i < count && !in.failed(); ++i) document.items.push_back(readItem(in, count));
    if (in.failed() || !in.atEnd()) return std::nullopt;
    return document;
}

} // namespace hv::cache
