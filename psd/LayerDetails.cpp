#include "psd/LayerDetails.h"

#include "psd/detail/BlockChain.h"

#include <algorithm>
#include <array>

namespace hv::psd::detail {

namespace {

template <std::size_t N>
bool among(const std::array<Tag, N>& keys, const Tag& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

constexpr std::array textKeys = {tag("TySh"), tag("tySh")};
constexpr std::array smartObjectKeys = {tag("SoLd"), tag("SoLE"), tag("PlLd"), tag("plLd")};
constexpr std::array fillKeys = {tag("SoCo"), tag("GdFl"), tag("PtFl")};
constexpr std::array adjustmentKeys = {tag("brit"), tag("CgEd"), tag("levl"), tag("curv"), tag("expA"), tag("vibA"),
                                       tag("hue "), tag("hue2"), tag("blnc"), tag("blwh"), tag("phfl"), tag("mixr"),
                                       tag("clrL"), tag("nvrt"), tag("post"), tag("thrs"), tag("grdm"), tag("selc")};
// Vector mask, its origination data, vector stroke and stroke content.
constexpr std::array vectorKeys = {tag("vmsk"), tag("vsms"), tag("vogk"), tag("vstk"), tag("vscg")};

// The record's flags: bit 3 says that bit 4 is meaningful, bit 4 that the
// pixel data does not make the layer's look (a vector layer's).
constexpr std::uint8_t bit4Meaningful = 0x08;
constexpr std::uint8_t pixelsIrrelevant = 0x10;

} // namespace

void KindClues::note(const Tag& key) {
    text = text || among(textKeys, key);
    smartObject = smartObject || among(smartObjectKeys, key);
    fill = fill || among(fillKeys, key);
    adjustment = adjustment || among(adjustmentKeys, key);
    vector = vector || among(vectorKeys, key);
    shapeContent = shapeContent || key == tag("vscg");
}

// Text wins over a smart object, which wins over fills and adjustments. A
// fill or plain layer whose pixels do not matter (bit 4, read only where
// bit 3 says it means something) and that carries vector data is a shape;
// so is a layer with a shape's fill content ('vscg'), which Photoshop writes
// with bit 4 but without bit 3.
LayerKind kindOf(const KindClues& clues, std::uint8_t flags) {
    if (clues.text) return LayerKind::Text;
    if (clues.smartObject) return LayerKind::SmartObject;
    if (!clues.fill && clues.adjustment) return LayerKind::Adjustment;
    const bool vectorLook = (flags & bit4Meaningful) != 0 && (flags & pixelsIrrelevant) != 0;
    if (clues.shapeContent || (clues.vector && vectorLook)) return LayerKind::Shape;
    return clues.fill ? LayerKind::Fill : LayerKind::Pixel;
}

namespace {

// Just enough of a descriptor to reach its 'Txt ' item: the items before it
// may only be of the simple types Photoshop writes there.
class TextDescriptor {
public:
    explicit TextDescriptor(SectionCursor& in) : in_(in) {}

    void readText(std::u16string& text) {
        skipUnicode("descriptor name");
        skipId("descriptor class");
        const std::uint32_t count = in_.u32("descriptor item count");
        for (std::uint32_t i = 0; i < count && !in_.failed(); ++i) {
            const std::uint64_t keyAt = in_.position();
            const std::string key = readId("item key");
            const Tag type = in_.readTag("item type");
            if (in_.failed()) return;
            if (key == "Txt " && type == tag("TEXT")) {
                text = readUnicode("text");
                return;
            }
            if (!skipValue(type)) {
                in_.context().fail(keyAt, "the descriptor item at byte " + std::to_string(keyAt) + " is of type "
                                              + quoted(type) + ", which is not stepped over to find the text");
                return;
            }
        }
        if (!in_.failed()) in_.context().fail(in_.position(), "the text descriptor holds no 'Txt ' item");
    }

private:
    std::u16string readUnicode(const char* field) {
        const std::uint64_t at = in_.position();
        const std::uint32_t count = in_.u32(field);
        if (in_.failed()) return {};
        if (count > in_.remaining() / 2) {
            in_.context().fail(at, std::string("the ") + field + " at byte " + std::to_string(at) + " claims "
                                       + std::to_string(count) + " characters, more than the " + in_.name() + " holds");
            return {};
        }
        std::u16string out(count, u'\0');
        std::array<std::byte, 2> raw{};
        for (char16_t& c : out) {
            in_.read(raw, field);
            c = static_cast<char16_t>(bigEndian(raw));
        }
        while (!out.empty() && out.back() == u'\0') out.pop_back();
        return out;
    }

    void skipUnicode(const char* field) {
        const std::uint32_t count = in_.u32(field);
        in_.skip(std::uint64_t{count} * 2, field);
    }

    // A key or class: a length, or 0 and four characters.
    std::string readId(const char* field) {
        const std::uint32_t length = in_.u32(field);
        const std::uint64_t size = length == 0 ? 4 : length;
        if (in_.failed() || size > in_.remaining() || size > 256) {
            in_.skip(size, field);
            return {};
        }
        std::string id(static_cast<std::size_t>(size), '\0');
        in_.read(std::as_writable_bytes(std::span(id)), field);
        return id;
    }

    void skipId(const char* field) {
        const std::uint32_t length = in_.u32(field);
        in_.skip(length == 0 ? 4 : length, field);
    }

    bool skipValue(const Tag& type) {
        if (type == tag("TEXT")) {
            skipUnicode("text value");
        } else if (type == tag("long")) {
            in_.skip(4, "number value");
        } else if (type == tag("UnFl")) {
            in_.skip(4, "unit");
            in_.skip(std::uint64_t{in_.u32("unit value count")} * 8, "unit values");
        } else if (type == tag("doub") || type == tag("comp")) {
            in_.skip(8, "number value");
        } else if (type == tag("UntF")) {
            in_.skip(12, "unit value");
        } else if (type == tag("bool")) {
            in_.skip(1, "boolean value");
        } else if (type == tag("enum")) {
            skipId("enumeration type");
            skipId("enumeration value");
        } else if (type == tag("tdta")) {
            in_.skip(in_.u32("raw data length"), "raw data");
        } else {
            return false;
        }
        return true;
    }

    SectionCursor& in_;
};

} // namespace

bool readTypeToolText(ByteSource& source, std::uint64_t begin, std::uint64_t end, std::u16string& text,
                      std::string& error) {
    ParseContext context(source);
    SectionCursor block(context, begin, end, "'TySh' block");
    const std::uint16_t version = block.u16("type tool version");
    block.skip(48, "text transform");
    const std::uint16_t textVersion = block.u16("text version");
    const std::uint32_t descriptorVersion = block.u32("text descriptor version");
    if (!context.failed() && (version != 1 || textVersion != 50 || descriptorVersion != 16)) {
        context.fail(begin, "the 'TySh' block at byte " + std::to_string(begin) + " is of an unknown version ("
                                + std::to_string(version) + ", " + std::to_string(textVersion) + ", "
                                + std::to_string(descriptorVersion) + ")");
    }
    if (!context.failed()) TextDescriptor(block).readText(text);
    if (!context.failed()) return true;
    text.clear();
    error = "text not read: " + context.error().message;
    return false;
}

} // namespace hv::psd::detail
