// Which thumbnail JPEGs are handed to a decoder, told from their markers
// alone, on JPEGs built marker by marker.

#include "psd/ThumbnailBudget.h"
#include "psd/testing/ByteBuilder.h"

#include <gtest/gtest.h>

namespace hv::psd {
namespace {

using testing::ByteBuilder;
using namespace std::string_view_literals;

struct Frame {
    std::uint8_t marker = 0xC2; // progressive
    std::uint16_t width = 160;
    std::uint16_t height = 120;
    std::uint8_t components = 3;
    std::uint8_t precision = 8;
};

ByteBuilder& frame(ByteBuilder& b, const Frame& f) {
    b.u8(0xFF).u8(f.marker).u16(static_cast<std::uint16_t>(8 + 3 * f.components));
    b.u8(f.precision).u16(f.height).u16(f.width).u8(f.components);
    for (std::uint8_t c = 1; c <= f.components; ++c) b.u8(c).u8(0x11).u8(0);
    return b;
}

// Scans of one component whose data holds a stuffed 0xFF and a restart.
ByteBuilder& scans(ByteBuilder& b, int count) {
    for (int i = 0; i < count; ++i)
        b.u8(0xFF).u8(0xDA).u16(8).u8(1).u8(1).u8(0).u8(0).u8(63).u8(0).text("\x12\xFF").u8(0).text("\x34\xFF\xD3\x56");
    return b;
}

// Start of image, a table, the frame, `count` scans, end of image.
std::vector<std::byte> jpeg(const Frame& f = {}, int count = 3) {
    ByteBuilder b;
    b.u8(0xFF).u8(0xD8).u8(0xFF).u8(0xDB).u16(4).u16(0);
    frame(b, f);
    return scans(b, count).u8(0xFF).u8(0xD9).vector();
}

std::vector<std::byte> cat(std::vector<std::byte> a, std::span<const std::byte> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::byte> raw(std::string_view bytes) {
    return ByteBuilder().text(bytes).vector();
}

struct Row {
    const char* name;
    std::vector<std::byte> jpeg;
    std::uint32_t width; // as the resource states it
    std::uint32_t height;
    std::string refusal; // part of it; empty when decoded
};

TEST(ThumbnailBudget, OnlyThumbnailSizedJpegsThatAreWhatTheirResourceSaysAreDecoded) {
    const auto head = [](const Frame& f, int before = 0, int after = 0) {
        ByteBuilder b;
        b.u8(0xFF).u8(0xD8);
        scans(b, before);
        return scans(frame(b, f), after).vector();
    };
    const Row rows[] = {
        {"baseline", jpeg({0xC0}), 160, 120, ""},
        {"largest, most scans", jpeg({0xC2, 1024, 1024}, 64), 1024, 1024, ""},
        {"cut short after a scan", head({}, 0, 1), 160, 120, ""},
        {"arithmetic, one grey component", jpeg({0xCA, 160, 120, 1}), 160, 120, ""},
        {"16000 pixels a side", jpeg({0xC2, 16000, 16000}), 16000, 16000, "16000 x 16000 pixels"},
        {"one pixel too wide", jpeg({0xC2, 1025, 1}), 1025, 1, "1025 x 1 pixels"},
        {"no height, as with a DNL", jpeg({0xC0, 160, 0}), 160, 0, "160 x 0 pixels"},
        {"not the stated size", jpeg(), 120, 160, "is 160 x 120 pixels, its resource states 120 x 160"},
        {"one scan too many", jpeg({}, 65), 160, 120, "more than 64 scans"},
        {"2000 scans", jpeg({}, 2000), 160, 120, "more than 64 scans"},
        {"five components", jpeg({0xC2, 160, 120, 5}), 160, 120, "5 components of 8 bits"},
        {"12-bit samples", jpeg({0xC2, 160, 120, 3, 12}), 160, 120, "3 components of 12 bits"},
        {"more than a megabyte", cat(jpeg(), std::vector<std::byte>(1 << 20)), 160, 120, "bytes long"},
        {"a second frame", cat(head({}), std::span<const std::byte>(jpeg()).subspan(2)), 160, 120, "markers"},
        {"lossless", jpeg({0xC3}), 160, 120, "markers"},
        {"hierarchical", jpeg({0xC5}), 160, 120, "markers"},
        {"a scan before the frame", head({}, 1, 1), 160, 120, "markers"},
        {"no scan", head({}), 160, 120, "markers"},
        {"bytes between segments", cat(raw("\xFF\xD8\x00"sv), std::span<const std::byte>(jpeg()).subspan(2)), 160, 120,
         "markers"},
        {"a segment past the end", raw("\xFF\xD8\xFF\xE0\x01\x00\x00"sv), 160, 120, "markers"},
        {"not a JPEG", raw("GIF89a"), 160, 120, "markers"},
    };
    for (const Row& row : rows) {
        const Thumbnail thumbnail{row.jpeg, false, row.width, row.height};
        const std::string refusal = decodeRefusal(thumbnail);
        if (row.refusal.empty())
            EXPECT_EQ(refusal, "") << row.name;
        else
            EXPECT_NE(refusal.find(row.refusal), std::string::npos) << row.name << ": " << refusal;
    }
}

TEST(ThumbnailBudget, TheWalkStopsCountingPastTheMostScans) {
    const std::optional<JpegFrame> frame = readJpegFrame(jpeg({}, 2000), 64);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->scans, 65u);
    EXPECT_EQ(readJpegFrame(jpeg({}, 7), 64)->scans, 7u);
}

} // namespace
} // namespace hv::psd
