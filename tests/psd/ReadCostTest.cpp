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

// Adds a bottom layer whose record is `bytes` long and more, most of it a
// block the reader skips; it is the first record in the file.
PsdWriter& withLongRecord(PsdWriter& w, std::size_t bytes) {
    w.layer(u"Long").blocks.push_back(testing::ExtraBlock{"8BIM", "zzzz", std::vector<std::byte>(bytes), {}});
    return w;
}

PsdWriter manyBlocks(std::size_t layers, std::size_t perBlock) {
    PsdWriter w;
    w.depth = 16;
    w.recordsPerBlock = perBlock;
    for (std::size_t i = 0; i < layers; ++i) {
        testing::Layer& layer = w.layer(u"L" + test::toU16(std::to_string(i)));
        layer.channels = 0;
        layer.blendingRangesBytes = 0;
    }
    return w;
}

// Requests and bytes per document: the header in one small read, one jump
// over the image resources, the records in reads that grow, and never the
// pixel data around them.
TEST(ReadCostOnDisk, RequestsAndBytesFollowTheRecordsNotTheFile) {
    const std::size_t first = documentPlan.first, jump = documentPlan.jump;
    PsdWriter bigResources = documentWithPixels(Format::Psd, 8, 100 * MiB, 300 * MiB);
    bigResources.imageResourcesBytes = 4 * MiB;
    PsdWriter pastFirst = documentWithPixels(Format::Psd, 8, 100 * MiB, 300 * MiB);
    pastFirst.imageResourcesBytes = 0;
    PsdWriter pastJump = documentWithPixels(Format::Psd, 8, 100 * MiB, 300 * MiB);
    pastJump.imageResourcesBytes = 20000;
    PsdWriter sixteenBit = documentWithPixels(Format::Psd, 16, 100 * MiB, 300 * MiB);
    sixteenBit.imageResourcesBytes = 20000;
    const struct {
        const char* name;
        PsdWriter writer;
        std::size_t items;
        std::uint64_t requests; // at most
        std::uint64_t bytes;    // at most; 0: the file's size
    } rows[] = {
        {"4 MiB of image resources", bigResources, 3, 2, first + jump},
        {"records end just past the first read", withLongRecord(pastFirst, first), 4, 2, first + jump},
        {"records end just past the jump", withLongRecord(pastJump, jump), 4, 3, first + 3 * jump},
        {"16-bit records, a block after the pixel data", sixteenBit, 3, 3, first + 2 * jump},
        {"sparse 5 GiB PSB", documentWithPixels(Format::Psb, 16, 600 * MiB, 3 * GiB), 3, 3, first + 2 * jump},
        {"60,000 records in 2 blocks", manyBlocks(60000, 32767), 60000, 10, 0},
    };
    test::ScratchDir dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir.file("doc");
        row.writer.writeFile(path);
        FileReads reads;
        const ReadResult result = readLayerItems(path, reads);
        ASSERT_TRUE(result.ok()) << result.error().message;
        EXPECT_EQ(result.document().items.size(), row.items);
        EXPECT_LE(reads.requests, row.requests);
        EXPECT_LE(reads.bytes, row.bytes > 0 ? row.bytes : std::filesystem::file_size(path));
    }
}

} // namespace
} // namespace hv::psd
