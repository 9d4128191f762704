// The reader's cost must not grow with the image: a multi-gigabyte document
// costs the same bytes of reading as a small one with the same layers.

#include "TestDocuments.h"

#include "psd/ByteSource.h"
#include "psd/LayerReader.h"
#include "psd/testing/PsdWriter.h"

#include <gtest/gtest.h>

namespace hv::psd {
namespace {

using testing::Format;
using testing::LayoutSource;
using testing::PsdWriter;

constexpr std::uint64_t GiB = 1024ull * 1024 * 1024;
constexpr std::uint64_t MiB = 1024ull * 1024;

PsdWriter documentWithPixels(Format format, std::uint16_t depth, std::uint64_t bytesPerChannel,
                             std::uint64_t imageBytes) {
    PsdWriter w(format);
    w.depth = depth;
    w.width = 20000;
    w.height = 20000;
    w.imageResourcesBytes = 64 * 1024;
    w.imageDataBytes = imageBytes;
    w.documentBlocksAfter = {testing::ExtraBlock{"8BIM", "Txt2", std::vector<std::byte>(40), {}}};
    for (const char16_t* name : {u"Title", u"Photo", u"Background"}) w.layer(name).channelDataBytes = bytesPerChannel;
    return w;
}

struct Cost {
    std::vector<std::u16string> names;
    std::uint64_t bytes = 0;
};

Cost readThroughWindow(const testing::Layout& layout) {
    LayoutSource raw(layout);
    WindowedSource windowed(raw);
    const ReadResult result = readLayerItems(windowed);
    EXPECT_TRUE(result.ok()) << result.error().message;
    return {result.ok() ? result.document().names() : std::vector<std::u16string>{}, raw.bytesFetched()};
}

class ReadCost : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(ReadCost, HugeDocumentCostsWhatASmallOneCosts) {
    const std::uint16_t depth = GetParam();
    const testing::Layout small = documentWithPixels(Format::Psb, depth, 1 * MiB, 3 * MiB).layout();
    const testing::Layout huge = documentWithPixels(Format::Psb, depth, 1 * GiB, 3 * GiB).layout();
    ASSERT_GT(huge.size(), 6 * GiB);

    const Cost smallCost = readThroughWindow(small);
    const Cost hugeCost = readThroughWindow(huge);
    EXPECT_EQ(hugeCost.names, (std::vector<std::u16string>{u"Title", u"Photo", u"Background"}));
    EXPECT_EQ(hugeCost.names, smallCost.names);
    EXPECT_EQ(hugeCost.bytes, smallCost.bytes);
    EXPECT_LE(hugeCost.bytes, 64u * 1024);
}

INSTANTIATE_TEST_SUITE_P(Depths, ReadCost, ::testing::Values(8, 16, 32));

TEST(ReadCostOnDisk, SparsePsbBeyondFourGigabytesIsReadByItsRecords) {
    test::ScratchDir dir;
    const std::string path = dir.file("huge.psb");
    // Holes on disk: the file is 5 GiB long but takes almost no space.
    documentWithPixels(Format::Psb, 16, 600 * MiB, 3 * GiB).writeFile(path);
    FileReads reads;
    const ReadResult result = readLayerItems(path, reads);
    ASSERT_TRUE(result.ok()) << result.error().message;
    EXPECT_EQ(result.document().names(), (std::vector<std::u16string>{u"Title", u"Photo", u"Background"}));
    EXPECT_GT(reads.bytes, 0u);
    // The first read holds the 64 KiB of image resources and the records;
    // one short read past the pixel data reaches the blocks after it.
    EXPECT_LE(reads.bytes, documentPlan.first + documentPlan.jump);
    EXPECT_LE(reads.requests, 2u);
}

// A document whose layer info holds the records is done once it has them;
// one that keeps them in a 16-bit block reads the blocks after the pixel
// data too, in one small read.
TEST(ReadCostOnDisk, RecordsInTheFirstReadCostOneRequest) {
    test::ScratchDir dir;
    for (const auto& [depth, requests] : {std::pair{8, 1}, std::pair{16, 2}}) {
        PsdWriter w = documentWithPixels(Format::Psd, static_cast<std::uint16_t>(depth), 100 * MiB, 300 * MiB);
        w.imageResourcesBytes = 20000;
        const std::string path = dir.file("doc" + std::to_string(depth) + ".psd");
        w.writeFile(path);
        FileReads reads;
        const ReadResult result = readLayerItems(path, reads);
        ASSERT_TRUE(result.ok()) << result.error().message;
        EXPECT_EQ(result.document().items.size(), 3u);
        EXPECT_EQ(reads.requests, static_cast<std::uint64_t>(requests)) << depth << "-bit";
    }
}

} // namespace
} // namespace hv::psd
