// Documents built by the test writer, in the shapes real writers produce,
// read back by the reader.

#include "TestDocuments.h"

#include <gtest/gtest.h>

namespace hv::psd {
namespace {

using test::namesOf;
using testing::BlockPadding;
using testing::ExtraBlock;
using testing::Format;
using testing::PsdWriter;
using Names = std::vector<std::u16string>;
using Width = ExtraBlock::Width;

ExtraBlock block(std::string key, std::string_view data = {}, Width width = Width::Standard) {
    std::vector<std::byte> bytes;
    for (const char c : data) bytes.push_back(static_cast<std::byte>(c));
    return ExtraBlock{"8BIM", std::move(key), std::move(bytes), width};
}

class WriterRoundTrip : public ::testing::TestWithParam<Format> {
protected:
    PsdWriter writer{GetParam()};
};

TEST_P(WriterRoundTrip, ItemsComeTopFirstWithTheHeader) {
    EXPECT_EQ(namesOf(writer), Names{}); // no layer records, no items
    writer.colorMode = 4;
    writer.channels = 5;
    writer.width = 300;
    writer.layer(u"Top");
    writer.layer(u"Middle");
    writer.layer(u"Background");
    const ReadResult result = readLayerItems(writer.bytes());
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.document().names(), (Names{u"Top", u"Middle", u"Background"}));
    const Header& h = result.document().header;
    EXPECT_EQ(h.version, GetParam() == Format::Psb ? 2 : 1);
    EXPECT_EQ(h.colorMode, 4);
    EXPECT_EQ(h.channels, 5);
    EXPECT_EQ(h.width, 300u);
}

TEST_P(WriterRoundTrip, GroupHeadersAreItemsAndEndMarkersAreNot) {
    writer.beginGroup(u"Outer", true);
    writer.layer(u"A");
    writer.beginGroup(u"Inner", false).nestedDividerKey = true;
    writer.layer(u"B");
    writer.endGroup(u"</Layer set>").nestedDividerKey = true;
    writer.beginGroup(u"Empty");
    writer.endGroup(u"");
    writer.endGroup(u"End of layer group");
    writer.layer(u"C");
    const ReadResult result = readLayerItems(writer.bytes());
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.document().names(), (Names{u"Outer", u"A", u"Inner", u"B", u"Empty", u"C"}));
    std::vector<std::pair<ItemKind, std::uint32_t>> shape;
    for (const LayerItem& item : result.document().items) shape.emplace_back(item.kind, item.depth);
    EXPECT_EQ(shape, (std::vector<std::pair<ItemKind, std::uint32_t>>{{ItemKind::OpenGroup, 0},
                                                                      {ItemKind::Layer, 1},
                                                                      {ItemKind::ClosedGroup, 1},
                                                                      {ItemKind::Layer, 2},
                                                                      {ItemKind::OpenGroup, 1},
                                                                      {ItemKind::Layer, 0}}));
}

TEST_P(WriterRoundTrip, UnicodeNameWinsWhereverItIs) {
    writer.layer(u"Слой").pascalName = "\xD1\xEB\xEE\xE9";
    writer.layer(u"\U0001F47D alien").pascalName = "? alien";
    writer.layer(u"A name well beyond the thirty-one bytes of a Pascal name");
    writer.layer(u"Shape 1").unicodeNameNul = true; // the NUL is not part of the name
    // After other blocks, one of which holds what looks like a block.
    auto& folder = writer.beginGroup(u"Folder1");
    folder.pascalName = "";
    folder.unicodeNameLast = true;
    folder.blocks = {block("lyid", std::string_view("\0\0\0\7", 4)), block("shmd", "8BIMcust\0\0\0\4abcd8ELE"),
                     block("zzzz")};
    writer.endGroup();
    EXPECT_EQ(namesOf(writer),
              (Names{u"Слой", u"\U0001F47D alien", u"A name well beyond the thirty-one bytes of a Pascal name",
                     u"Shape 1", u"Folder1"}));
}

TEST_P(WriterRoundTrip, PascalNameWhenThereIsNoUnicodeName) {
    for (const char* pascal : {"\xD0\xA4\xD0\xBE\xD0\xBD", "Caf\xE9 \x80", ""}) {
        auto& layer = writer.layer(u"");
        layer.writeUnicodeName = false;
        layer.pascalName = pascal;
    }
    EXPECT_EQ(namesOf(writer), (Names{u"Фон", u"Café €", u""}));
}

TEST_P(WriterRoundTrip, HighBitDepthLayersLiveInTheirOwnBlocks) {
    for (const std::uint16_t depth : {std::uint16_t{16}, std::uint16_t{32}}) {
        PsdWriter w(GetParam());
        w.depth = depth;
        // Photoshop may put other blocks first (an empty 'Mt32' in real files).
        w.documentBlocksBefore = {block("Mt32"), block("Patt", "xyz")};
        w.documentBlocksAfter = {block("LMsk", std::string(14, '\0'))};
        w.beginGroup(u"Group");
        w.layer(u"Layer");
        w.endGroup();
        w.layer(u"Background");
        EXPECT_EQ(namesOf(w), (Names{u"Group", u"Layer", u"Background"})) << depth;
    }
}

TEST_P(WriterRoundTrip, HarmlessOdditiesOfRealFilesAreAccepted) {
    writer.negativeLayerCount = true;
    writer.omitGlobalMask = true; // blocks follow the layer info directly
    writer.documentBlocksAfter = {block("Txt2", "abcd")};
    auto& fill = writer.layer(u"Gradient fill");
    fill.bottom = -1; // above its top, as Photoshop writes fill layers
    fill.right = -50;
    auto& odd = writer.layer(u"Odd blend");
    odd.blendKey = "????";
    odd.channels = 0;
    odd.maskDataBytes = 20;
    odd.blendingRangesBytes = 0;
    EXPECT_EQ(namesOf(writer), (Names{u"Gradient fill", u"Odd blend"}));
}

TEST_P(WriterRoundTrip, EveryPaddingConventionReadsTheSame) {
    for (const std::uint32_t namePadding : {1u, 2u, 4u}) {
        for (const BlockPadding padding : {BlockPadding::InLength, BlockPadding::AfterLength, BlockPadding::None}) {
            PsdWriter w(GetParam());
            w.depth = 16;
            w.namePadding = namePadding;
            w.recordBlockPadding = padding;
            w.documentBlockPadding = padding;
            w.documentBlocksBefore = {block("Patt", "x")};
            auto& top = w.layer(u"abc");
            top.blocks = {block("lyid", std::string_view("\0\0\0\1\0", 5))};
            top.unicodeNameLast = true;
            w.layer(u"de").pascalName = "d";
            EXPECT_EQ(namesOf(w), (Names{u"abc", u"de"})) << namePadding << static_cast<int>(padding);
        }
    }
}

TEST_P(WriterRoundTrip, ManyLayersKeepTheirOrder) {
    Names expected;
    for (int i = 0; i < 1500; ++i) {
        expected.push_back(u"Layer "
                           + std::u16string(static_cast<std::size_t>(i % 29), static_cast<char16_t>(u'A' + i % 26)));
        writer.layer(expected.back()).channels = 1;
    }
    EXPECT_EQ(namesOf(writer), expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, WriterRoundTrip, ::testing::Values(Format::Psd, Format::Psb),
                         [](const auto& param) { return param.param == Format::Psd ? "Psd" : "Psb"; });

// Programs disagree on which keys carry 8-byte lengths in a PSB. A wrong
// guess must cost neither the layer's name nor any layer after it.
TEST(PsbBlockLengths, EitherWidthOfAnyKeyIsUnderstood) {
    PsdWriter w(Format::Psb);
    w.depth = 32;
    w.documentBlocksBefore = {block("FMsk", "abcdefghijkl", Width::Narrow), block("Patt", {}, Width::Wide)};
    auto& top = w.layer(u"Filtered");
    top.unicodeNameLast = true;
    top.blocks = {block("FXid", std::string_view("\0\0\0\1abcdefgh", 12), Width::Narrow),
                  block("lnk2", {}, Width::Narrow)};
    auto& middle = w.layer(u"Other");
    middle.unicodeNameLast = true;
    middle.blocks = {block("abcd", "12345678", Width::Wide), block("pths", std::string(12, '\0'), Width::Wide)};
    w.layer(u"Bottom");
    EXPECT_EQ(namesOf(w), (Names{u"Filtered", u"Other", u"Bottom"}));
}

} // namespace
} // namespace hv::psd
