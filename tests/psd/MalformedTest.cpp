// Hand-built broken documents, one case per shape: each must fail with a
// message that names the problem and the offset where it was found; the
// harmless breakages real writers produce must still give the names.

#include "psd/LayerReader.h"
#include "psd/Thumbnail.h"
#include "psd/testing/ByteBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace hv::psd {
namespace {

using testing::ByteBuilder;
using Names = std::vector<std::u16string>;

ByteBuilder header(std::uint16_t version = 1) {
    ByteBuilder b;
    b.text("8BPS").u16(version).zeros(6).u16(3).u32(4).u32(4).u16(8).u16(3);
    return b;
}

// A document around a layer-and-mask body, which starts at byte 38.
ByteBuilder document(const ByteBuilder& layerAndMask) {
    ByteBuilder b = header();
    b.u32(0).u32(0).section(layerAndMask).u16(0).zeros(16);
    return b;
}

// Layer info holding `records`, then an empty global mask. The first record
// starts at byte 44.
ByteBuilder layers(std::initializer_list<ByteBuilder> records) {
    ByteBuilder info;
    info.i16(static_cast<std::int16_t>(records.size()));
    for (const ByteBuilder& r : records) info.bytes(r.data());
    ByteBuilder lm;
    lm.section(info).u32(0);
    return lm;
}

// A record without channels; its extra data starts 34 bytes in.
ByteBuilder record(const ByteBuilder& extra) {
    ByteBuilder r;
    r.zeros(16).u16(0).text("8BIMnorm").u32(0).section(extra);
    return r;
}

// Extra data: empty mask and blending ranges, a Pascal name, blocks.
ByteBuilder extra(std::string_view pascalName, const ByteBuilder& blocks = {}) {
    ByteBuilder e;
    e.u32(0).u32(0).u8(static_cast<std::uint8_t>(pascalName.size())).text(pascalName).padTo(4);
    return e.bytes(blocks.data());
}

ByteBuilder luni(std::u16string_view name) {
    ByteBuilder data;
    data.u32(static_cast<std::uint32_t>(name.size()));
    for (const char16_t c : name) data.u16(c);
    ByteBuilder b;
    return b.text("8BIMluni").section(data.padTo(4));
}

ByteBuilder bytes(const std::function<void(ByteBuilder&)>& build, ByteBuilder start = {}) {
    build(start);
    return start;
}

struct Broken {
    const char* name;
    ByteBuilder file;
    std::uint64_t offset;
    std::string message;
};

const std::vector<Broken>& brokenFiles() {
    static const std::vector<Broken> cases = {
        {"EmptyFile", {}, 0, "the file is empty, so it is not a Photoshop document"},
        {"OtherFormat", bytes([](auto& b) { b.text("GIF89a").zeros(40); }), 0,
         "not a Photoshop document: the file does not start with the signature '8BPS'"},
        {"ShorterThanASignature", bytes([](auto& b) { b.text("8B"); }), 0, "not a Photoshop document"},
        {"UnknownVersion", header(3), 4, "unsupported Photoshop file version 3: only version 1 (PSD)"},
        {"CutOffHeader", bytes([](auto& b) { b.text("8BPS").u16(1).zeros(4); }), 10,
         "truncated at byte 10: the reserved header field at byte 6 is cut off"},
        {"ColourModeDataPastTheFile", bytes([](auto& b) { b.u32(1000).zeros(10); }, header()), 40,
         "truncated at byte 40: the colour mode data (1000 bytes from byte 30) runs past the end of the file"},
        {"NoImageResources", bytes([](auto& b) { b.u32(0); }, header()), 30,
         "truncated at byte 30: the image resources length at byte 30 is cut off"},
        {"LayerAndMaskPastTheFile", bytes([](auto& b) { b.u32(0).u32(0).u32(5000).zeros(100); }, header()), 138,
         "truncated at byte 138: the layer and mask information (5000 bytes from byte 38) runs past"},
        {"HugePsbLengthDoesNotWrap",
         bytes([](auto& b) { b.u32(0).u32(0).u64(std::numeric_limits<std::uint64_t>::max()).zeros(64); }, header(2)),
         106, "truncated at byte 106: the layer and mask information (18446744073709551615 bytes"},
        {"LayerInfoPastItsSection", document(bytes([](auto& b) { b.u32(100).zeros(20); })), 38,
         "the length 100 of the layer info at byte 38 runs past the end of the layer and mask information at "
         "byte 62"},
        {"LayerCountTooLargeForTheSection", document(bytes([](auto& b) { b.u32(62).i16(-32768).zeros(60).u32(0); })),
         42,
         "the layer count 32768 at byte 42 needs at least 1114112 bytes of layer records, but the layer info "
         "holds only 60"},
        {"ChannelListPastTheLayerInfo",
         document(bytes([](auto& b) { b.u32(60).i16(1).zeros(16).u16(5000).zeros(40).u32(0); })), 62,
         "the channel list at byte 62 runs past the end of the layer info at byte 102 (layer record 1 of 1)"},
        {"ExtraDataPastTheLayerInfo",
         document(layers({record(extra("ok")), bytes([](auto& b) { b.zeros(18).text("8BIMnorm").u32(0).u32(4000); })})),
         120,
         "the length 4000 of the extra layer data at byte 120 runs past the end of the layer info at byte 124 "
         "(layer record 2 of 2)"},
        {"MaskDataPastTheExtraData", document(layers({record(bytes([](auto& b) { b.u32(50).zeros(8); }))})), 78,
         "the length 50 of the layer mask data at byte 78 runs past the end of the extra layer data at byte 90"},
        {"BlendingRangesPastTheExtraData", document(layers({record(bytes([](auto& b) { b.u32(0).u32(9); }))})), 82,
         "the length 9 of the layer blending ranges at byte 82 runs past the end of the extra layer data"},
        {"PascalNamePastTheExtraData",
         document(layers({record(bytes([](auto& b) { b.u32(0).u32(0).u8(200).text("abc"); }))})), 87,
         "the layer name at byte 87 runs past the end of the extra layer data at byte 90"},
        {"UnicodeNameLongerThanItsBlock",
         document(layers({record(extra("ab", bytes([](auto& b) { b.text("8BIMluni").u32(8).u32(100).u32(0); })))})),
         102, "the Unicode layer name at byte 102 claims 100 characters, more than its 8-byte block holds"},
        {"UnicodeBlockPastTheExtraData",
         document(layers({record(extra("a", bytes([](auto& b) { b.text("8BIMluni").u32(400).u32(1).u32(0); })))})), 90,
         "the 'luni' block at byte 90 is 400 bytes long and runs past the end of the extra layer data at byte 110"},
        {"LayerBlockPastTheSection",
         document(bytes([](auto& b) { b.u32(0).u32(0).text("8BIMLr16").u32(5000).i16(0); })), 46,
         "the 'Lr16' block at byte 46 is 5000 bytes long and runs past the end of the layer and mask information"},
    };
    return cases;
}

class BrokenFile : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenFile, FailsWithAMessageNamingTheProblem) {
    const ReadResult result = readLayerItems(GetParam().file.data());
    ASSERT_FALSE(result.ok()) << "the document was accepted";
    EXPECT_THAT(result.error().message, ::testing::HasSubstr(GetParam().message));
    EXPECT_EQ(result.error().offset, GetParam().offset) << result.error().message;
    // A failure inside the 26-byte header reads the same from the thumbnail reader.
    if (GetParam().offset >= 26) return;
    const ThumbnailResult thumbnail = readThumbnail(GetParam().file.data());
    ASSERT_TRUE(thumbnail.failed());
    EXPECT_EQ(thumbnail.error().message, result.error().message);
    EXPECT_EQ(thumbnail.error().offset, result.error().offset);
}

INSTANTIATE_TEST_SUITE_P(Shapes, BrokenFile, ::testing::ValuesIn(brokenFiles()),
                         [](const auto& param) { return std::string(param.param.name); });

// `count` 16-bit layer blocks of one record each, "L0" at the bottom.
ByteBuilder manyLayerBlocks(int count) {
    ByteBuilder lm;
    lm.u32(0).u32(0);
    for (int i = 0; i < count; ++i) {
        const std::string name = "L" + std::to_string(i);
        ByteBuilder info;
        info.i16(1).bytes(record(extra(name)).data());
        lm.text("8BIMLr16").section(info.padTo(4));
    }
    return document(lm);
}

Names manyNames(int count) {
    Names names;
    for (int i = count - 1; i >= 0; --i) {
        const std::string name = "L" + std::to_string(i);
        names.emplace_back(name.begin(), name.end());
    }
    return names;
}

struct Harmless {
    const char* name;
    ByteBuilder file;
    Names names;
};

const std::vector<Harmless>& harmlessFiles() {
    static const std::vector<Harmless> cases = {
        // An unknown block claiming more than its record holds hides the
        // Unicode name behind it, but the record is bounded by its own
        // length, so the next record is read normally.
        {"BrokenUnknownBlockCostsOnlyItsRecord",
         document(layers({record(extra("Bottom", bytes([](auto& b) {
                                           b.text("8BIMabcd").u32(9999).zeros(4).bytes(luni(u"Hidden").data());
                                       }))),
                          record(extra("x", luni(u"Top")))})),
         {u"Top", u"Bottom"}},
        {"JunkAfterTheBlocks",
         document(layers({record(extra("N", bytes([](auto& b) { b.text("not a block"); }, luni(u"Named"))))})),
         {u"Named"}},
        {"BrokenUnknownBlockAfterTheLayers",
         document(bytes([](auto& b) { b.text("8BIMTxt2").u32(123456).zeros(8); }, layers({record(extra("Kept"))}))),
         {u"Kept"}},
        {"EmptyLayerAndMaskSection", document({}), {}},
        // Every block holds one record; all of them count.
        {"ManyLayerBlocks", manyLayerBlocks(3000), manyNames(3000)},
    };
    return cases;
}

class HarmlessFile : public ::testing::TestWithParam<Harmless> {};

TEST_P(HarmlessFile, StillGivesTheNames) {
    const ReadResult result = readLayerItems(GetParam().file.data());
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.document().names(), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Shapes, HarmlessFile, ::testing::ValuesIn(harmlessFiles()),
                         [](const auto& param) { return std::string(param.param.name); });

// A type tool block: version, transform, text and descriptor versions, then
// `descriptor`.
ByteBuilder tySh(const ByteBuilder& descriptor, std::uint16_t textVersion = 50) {
    ByteBuilder data;
    data.u16(1).zeros(48).u16(textVersion).u32(16).bytes(descriptor.data());
    ByteBuilder b;
    return b.text("8BIMTySh").section(data.padTo(4));
}

// A descriptor with no name, class 'TxLr' and `count` items.
ByteBuilder descriptor(std::uint32_t count, const std::function<void(ByteBuilder&)>& items) {
    return bytes(items, bytes([&](auto& b) { b.u32(0).u32(0).text("TxLr").u32(count); }));
}

struct BrokenDetail {
    const char* name;
    ByteBuilder block;
    std::string message;
};

// A broken type tool block costs its layer's text, never the names.
const std::vector<BrokenDetail>& brokenDetails() {
    static const std::vector<BrokenDetail> cases = {
        {"TextBlockCutShort", bytes([](auto& b) { b.text("8BIMTySh").u32(12).u16(1).zeros(10); }),
         "text not read: the text transform at byte 108 runs past the end of the 'TySh' block at byte 118"},
        {"UnknownTextVersion", tySh(descriptor(0, [](auto&) {}), 51),
         "text not read: the 'TySh' block at byte 106 is of an unknown version (1, 51, 16)"},
        {"TextLongerThanItsBlock", tySh(descriptor(1, [](auto& b) { b.u32(0).text("Txt TEXT").u32(1000).u16('a'); })),
         "text not read: the text at byte 190 claims 1000 characters, more than the 'TySh' block holds"},
        {"ItemOfAnUnknownTypeBeforeTheText",
         tySh(descriptor(2, [](auto& b) { b.u32(0).text("OrntObjc").u32(0).text("Txt TEXT").u32(0); })),
         "text not read: the descriptor item at byte 178 is of type 'Objc', which is not stepped over"},
        {"NoTextItem", tySh(descriptor(1, [](auto& b) { b.u32(0).text("Orntlong").u32(5); })),
         "text not read: the text descriptor holds no 'Txt ' item"},
        {"ItemCountBeyondTheBlock", tySh(descriptor(70000, [](auto& b) { b.u32(0).text("Orntbool").u8(1); })),
         "text not read: the item key at byte 191 runs past the end of the 'TySh' block at byte 194"},
    };
    return cases;
}

class BrokenDetailBlock : public ::testing::TestWithParam<BrokenDetail> {};

TEST_P(BrokenDetailBlock, CostsTheDetailButNotTheNames) {
    const ByteBuilder file =
        document(layers({record(extra("Text", GetParam().block)), record(extra("Other", luni(u"Other")))}));
    const ReadResult result = readLayerItems(file.data());
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.document().names(), (Names{u"Other", u"Text"}));
    const LayerItem& text = result.document().items[1];
    EXPECT_EQ(text.layerKind, LayerKind::Text);
    EXPECT_EQ(text.text, u"");
    EXPECT_THAT(text.detailError, ::testing::HasSubstr(GetParam().message));
    EXPECT_EQ(result.document().items[0].detailError, "");
}

INSTANTIATE_TEST_SUITE_P(Shapes, BrokenDetailBlock, ::testing::ValuesIn(brokenDetails()),
                         [](const auto& param) { return std::string(param.param.name); });

// Items of every simple type may stand before the text; each is stepped over
// by its own size.
TEST(TypeToolText, IsFoundAfterSimpleItems) {
    const ByteBuilder block = tySh(descriptor(7, [](auto& b) {
        b.u32(0).text("Ornt").text("UnFl").text("#Pxl").u32(2).u64(1).u64(2);
        b.u32(0).text("Wdth").text("UntF").text("#Pxl").u64(3);
        b.u32(0).text("AntA").text("enum").u32(0).text("Annt").u32(0).text("AnCr");
        b.u32(0).text("Data").text("tdta").u32(3).text("abc");
        b.u32(0).text("Flag").text("bool").u8(1);
        b.u32(0).text("Size").text("comp").u64(4);
        b.u32(0).text("Txt ").text("TEXT").u32(2).u16('h').u16('i');
    }));
    const ReadResult result = readLayerItems(document(layers({record(extra("Text", block))})).data());
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.document().items[0].detailError, "");
    EXPECT_EQ(result.document().items[0].text, u"hi");
}

// A document whose image resources are `resources`, with one layer.
ByteBuilder withResources(const ByteBuilder& resources) {
    ByteBuilder b = header();
    return b.u32(0).section(resources).section(layers({record(extra("Kept"))})).u16(0).zeros(16);
}

// A thumbnail resource at byte 34 whose data (from byte 46) is `data`.
ByteBuilder thumbnail(const ByteBuilder& data, std::uint16_t id = 1036) {
    ByteBuilder padded = data;
    ByteBuilder b;
    return b.text("8BIM").u16(id).u16(0).section(padded.padTo(2));
}

ByteBuilder thumbnailData(std::uint32_t format, std::uint32_t size, std::string_view jpeg) {
    ByteBuilder b;
    return b.u32(format).u32(2).u32(2).u32(8).u32(16).u32(size).u16(24).u16(1).text(jpeg);
}

const std::vector<Broken>& brokenThumbnails() {
    static const std::vector<Broken> cases = {
        {"ThumbnailNotJpeg", thumbnail(thumbnailData(0, 4, "\xFF\xD8..")), 46,
         "the thumbnail (resource 1036) at byte 46 is stored in format 0, not as JPEG"},
        {"ThumbnailLongerThanItsResource", thumbnail(thumbnailData(1, 5000, "\xFF\xD8..")), 66,
         "the thumbnail (resource 1036) at byte 46 claims 5000 bytes of JPEG data, but its resource holds 4"},
        {"ThumbnailWithoutJpegData", thumbnail(thumbnailData(1, 3, "GIF"), 1033), 74,
         "the thumbnail (resource 1033) at byte 46 does not hold JPEG data"},
        {"ThumbnailHeaderCutShort", thumbnail(bytes([](auto& b) { b.u32(1).u32(2).u16(2); })), 54,
         "the thumbnail height at byte 54 runs past the end of the thumbnail resource at byte 56"},
        {"ResourcePastTheResources", bytes([](auto& b) { b.text("8BIM").u16(1036).u16(0).u32(9999).zeros(8); }), 42,
         "the length 9999 of the image resource 1036 at byte 42 runs past the end of the image resources at byte 54 "
         "(the resource at byte 34)"},
    };
    return cases;
}

class BrokenThumbnail : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenThumbnail, FailsAloneWithAMessageNamingTheProblem) {
    const ByteBuilder file = withResources(GetParam().file);
    const ThumbnailResult thumbnail = readThumbnail(file.data());
    ASSERT_TRUE(thumbnail.failed()) << "the thumbnail was accepted";
    EXPECT_THAT(thumbnail.error().message, ::testing::HasSubstr(GetParam().message));
    EXPECT_EQ(thumbnail.error().offset, GetParam().offset) << thumbnail.error().message;
    const ReadResult names = readLayerItems(file.data());
    ASSERT_TRUE(names.ok()) << names.error().message;
    EXPECT_EQ(names.document().names(), Names{u"Kept"});
}

INSTANTIATE_TEST_SUITE_P(Shapes, BrokenThumbnail, ::testing::ValuesIn(brokenThumbnails()),
                         [](const auto& param) { return std::string(param.param.name); });

// Storage that fails after the header, as a disk or network share can.
class FailingSource final : public ByteSource {
public:
    explicit FailingSource(std::span<const std::byte> data) : data_(data) {}
    std::uint64_t size() const override { return data_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override {
        if (offset + out.size() > 30) {
            error = "Input/output error";
            return false;
        }
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
        return true;
    }
    std::uint64_t bytesFetched() const override { return 0; }

private:
    std::span<const std::byte> data_;
};

TEST(Storage, ReadErrorIsReportedWithItsCause) {
    const ByteBuilder doc = document(layers({record(extra("x"))}));
    FailingSource source(doc.data());
    const ReadResult result = readLayerItems(source);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, "cannot read the file: Input/output error");
    EXPECT_EQ(result.error().offset, 30u);
}

} // namespace
} // namespace hv::psd
