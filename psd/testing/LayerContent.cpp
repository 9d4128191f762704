// The blocks and resources that give written layers and documents their
// content: kinds, text and thumbnails.

#include "psd/testing/PsdWriter.h"

#include <bit>

namespace hv::psd::testing {

namespace {

ExtraBlock block(std::string key, std::vector<std::byte> data = std::vector<std::byte>(4)) {
    return ExtraBlock{"8BIM", std::move(key), std::move(data), {}};
}

void unicode(ByteBuilder& out, std::u16string_view text) {
    out.u32(static_cast<std::uint32_t>(text.size() + 1));
    for (const char16_t c : text) out.u16(c);
    out.u16(0); // Photoshop counts and writes a closing NUL
}

} // namespace

ExtraBlock typeToolBlock(std::u16string_view text) {
    ByteBuilder b;
    b.u16(1);                                                                                 // type tool version
    for (const double unit : {1.0, 0.0, 0.0, 1.0}) b.u64(std::bit_cast<std::uint64_t>(unit)); // transform
    b.zeros(16);                                                                              // translation
    b.u16(50).u32(16);     // text and descriptor versions
    unicode(b, u"");       // descriptor name
    b.u32(0).text("TxLr"); // class
    b.u32(2);              // items
    b.u32(0).text("Txt ").text("TEXT");
    unicode(b, text);
    b.u32(0).text("Ornt").text("enum").u32(0).text("Ornt").u32(0).text("Hrzn");
    b.u16(1).u32(16).u32(1).u16(0).u32(0).text("warp").u32(0); // an empty warp descriptor
    b.zeros(16);                                               // text bounds
    return block("TySh", b.vector());
}

std::vector<ExtraBlock> contentBlocks(LayerKind kind, std::u16string_view text) {
    switch (kind) {
    case LayerKind::Text: return {typeToolBlock(text)};
    case LayerKind::SmartObject: return {block("SoLd"), block("PlLd")};
    case LayerKind::Shape: return {block("SoCo"), block("vmsk"), block("vogk")};
    case LayerKind::Fill: return {block("GdFl")};
    case LayerKind::Adjustment: return {block("levl")};
    case LayerKind::Group:
    case LayerKind::Pixel: break;
    }
    return {};
}

ImageResource thumbnailResource(std::uint16_t id, std::span<const std::byte> jpeg, std::uint32_t width,
                                std::uint32_t height) {
    ByteBuilder b;
    const std::uint32_t rowBytes = (width * 24 + 31) / 32 * 4;
    b.u32(1).u32(width).u32(height).u32(rowBytes).u32(rowBytes * height);
    b.u32(static_cast<std::uint32_t>(jpeg.size())).u16(24).u16(1).bytes(jpeg);
    return ImageResource{id, b.vector()};
}

} // namespace hv::psd::testing
