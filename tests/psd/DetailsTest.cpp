// What the reader tells about each item beyond its name (kind, visibility,
// group, text) and the document's thumbnail, on documents of the test writer.

#include "TestDocuments.h"

#include "psd/LayerDetails.h"
#include "psd/Text.h"
#include "psd/Thumbnail.h"

#include <gtest/gtest.h>

namespace hv::psd {
namespace {

using testing::Format;
using testing::PsdWriter;
using testing::thumbnailResource;
using Names = std::vector<std::u16string>;

Document readBack(const PsdWriter& writer) {
    const ReadResult result = readLayerItems(writer.bytes());
    EXPECT_TRUE(result.ok()) << result.error().message;
    return result.ok() ? result.document() : Document{};
}

class Details : public ::testing::TestWithParam<std::pair<Format, std::uint16_t>> {
protected:
    PsdWriter writer = [] {
        PsdWriter w(GetParam().first);
        w.depth = GetParam().second;
        return w;
    }();
};

TEST_P(Details, GroupPathsFollowTheNesting) {
    writer.beginGroup(u"Outer");
    writer.beginGroup(u"Middle", false);
    writer.beginGroup(u"Inner");
    writer.layer(u"Deep");
    writer.endGroup();
    writer.endGroup();
    writer.beginGroup(u"Empty");
    writer.endGroup();
    writer.layer(u"In outer");
    writer.endGroup();
    writer.layer(u"Top level");
    const Document document = readBack(writer);
    ASSERT_EQ(document.names(), (Names{u"Outer", u"Middle", u"Inner", u"Deep", u"Empty", u"In outer", u"Top level"}));
    const std::vector<Names> paths = {
        {}, {u"Outer"}, {u"Outer", u"Middle"}, {u"Outer", u"Middle", u"Inner"}, {u"Outer"}, {u"Outer"}, {}};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(document.groupPath(i), paths[i]) << i;
        EXPECT_EQ(document.items[i].layerKind == LayerKind::Group, i == 0 || i == 1 || i == 2 || i == 4) << i;
    }
    EXPECT_EQ(document.items[3].group, 2u);
    EXPECT_EQ(document.items[6].group, LayerItem::noGroup);
}

TEST_P(Details, KindVisibilityAndTextOfEveryKind) {
    const std::u16string text = u"Grüße, мир\r\U0001F600 文字";
    for (const LayerKind kind : {LayerKind::Pixel, LayerKind::Text, LayerKind::SmartObject, LayerKind::Shape,
                                 LayerKind::Fill, LayerKind::Adjustment}) {
        auto& layer = writer.layer(test::toU16(kindName(kind)));
        layer.content = kind;
        layer.text = text;
    }
    writer.layer(u"Hidden").hidden = true;
    writer.beginGroup(u"Hidden group").hidden = true;
    writer.endGroup();
    const Document document = readBack(writer);
    std::vector<std::string> kinds;
    std::vector<bool> visible;
    for (const LayerItem& item : document.items) {
        kinds.push_back(kindName(item.layerKind));
        visible.push_back(item.visible);
        EXPECT_EQ(item.text, item.layerKind == LayerKind::Text ? text : u"") << kinds.back();
        EXPECT_EQ(item.detailError, "");
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"pixel", "text", "smart object", "shape", "fill", "adjustment", "pixel",
                                               "group"}));
    EXPECT_EQ(visible, (std::vector<bool>{true, true, true, true, true, true, false, false}));
}

TEST_P(Details, OldTypeLayersAreTextWhoseContentIsUnknown) {
    writer.layer(u"Old type").blocks.push_back({.key = "tySh", .data = std::vector<std::byte>(64)});
    const Document document = readBack(writer);
    ASSERT_EQ(document.items.size(), 1u);
    EXPECT_EQ(document.items[0].layerKind, LayerKind::Text);
    EXPECT_EQ(document.items[0].text, u"");
    EXPECT_NE(document.items[0].detailError.find("'tySh'"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Formats, Details,
                         ::testing::Values(std::pair{Format::Psd, std::uint16_t{8}},
                                           std::pair{Format::Psb, std::uint16_t{16}}),
                         [](const auto& param) { return param.param.first == Format::Psd ? "Psd8" : "Psb16"; });

// Bit 4 of the record's flags (pixels irrelevant) counts only where bit 3
// says it is meaningful; a shape's own fill content needs neither.
TEST(Kind, VectorDataMakesAShapeOnlyWithMeaningfulPixelsIrrelevantFlag) {
    detail::KindClues vector;
    vector.vector = true;
    const struct {
        std::uint8_t flags;
        LayerKind kind;
    } rows[] = {{0x18, LayerKind::Shape}, {0x10, LayerKind::Pixel}, {0x08, LayerKind::Pixel}, {0x1A, LayerKind::Shape}};
    for (const auto& row : rows) EXPECT_EQ(detail::kindOf(vector, row.flags), row.kind) << int{row.flags};
    EXPECT_EQ(detail::kindOf({}, 0x18), LayerKind::Pixel);
    vector.shapeContent = true; // a shape's fill content, as Photoshop writes it
    EXPECT_EQ(detail::kindOf(vector, 0x90), LayerKind::Shape);
}

std::vector<std::byte> jpeg(std::string_view tail) {
    std::vector<std::byte> bytes = {std::byte{0xFF}, std::byte{0xD8}};
    for (const char c : tail) bytes.push_back(static_cast<std::byte>(c));
    return bytes;
}

TEST(Thumbnail, EitherFormOrNone) {
    struct Row {
        std::vector<testing::ImageResource> resources;
        bool found;
        std::string tail;
        bool swap;
    };
    const std::vector<Row> rows = {
        {{}, false, "", false},
        {{{1005, std::vector<std::byte>(16)}, thumbnailResource(1036, jpeg("new"), 160, 90)}, true, "new", false},
        {{thumbnailResource(1033, jpeg("old!"))}, true, "old!", true},
        {{thumbnailResource(1033, jpeg("old")), thumbnailResource(1036, jpeg("new"))}, true, "new", false},
    };
    for (const Row& row : rows) {
        PsdWriter writer(Format::Psb);
        writer.imageResources = row.resources;
        writer.imageResourcesBytes = 12; // a blank tail, as some writers leave
        const ThumbnailResult result = readThumbnail(writer.bytes());
        ASSERT_FALSE(result.failed()) << result.error().message;
        ASSERT_EQ(result.found(), row.found) << row.tail;
        if (!row.found) continue;
        EXPECT_EQ(result.thumbnail().jpeg, jpeg(row.tail));
        EXPECT_EQ(result.thumbnail().swapRedAndBlue, row.swap);
    }
}

TEST(Thumbnail, ReadFromAFileWithItsWidthAndHeight) {
    test::ScratchDir dir;
    PsdWriter writer;
    writer.imageResources = {thumbnailResource(1036, jpeg("abc"), 160, 90)};
    writer.writeFile(dir.file("thumb.psd"));
    const ThumbnailResult result = readThumbnail(dir.file("thumb.psd"));
    ASSERT_TRUE(result.found());
    EXPECT_EQ(result.thumbnail().width, 160u);
    EXPECT_EQ(result.thumbnail().height, 90u);
    EXPECT_TRUE(readThumbnail(dir.file("missing.psd")).failed());
}

} // namespace
} // namespace hv::psd
