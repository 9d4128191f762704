// Hand-built broken documents, one case per shape: each must fail with a
// message that names the problem and the offset where it was found; the
// harmless breakages real writers produce must still give the names.

#include "psd/LayerReader.h"
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
}

INSTANTIATE_TEST_SUITE_P(Shapes, BrokenFile, ::testing::ValuesIn(brokenFiles()),
                         [](const auto& param) { return std::string(param.param.name); });

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
