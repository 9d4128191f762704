#pragma once

#include "psd/ByteSource.h"
#include "psd/LayerReader.h"
#include "psd/testing/ByteBuilder.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace hv::psd::testing {

// A file's bytes as a run of pieces, each either literal bytes or a stretch
// of zeros. Zeros cost nothing until written, and on disk they become holes,
// so a multi-gigabyte document takes neither memory nor disk space.
class Layout {
public:
    void append(std::span<const std::byte> bytes);
    void append(const ByteBuilder& builder) { append(builder.data()); }
    void appendZeros(std::uint64_t count);
    void append(const Layout& other);

    std::uint64_t size() const { return size_; }
    // Every byte, zeros included: only for documents that fit in memory.
    std::vector<std::byte> bytes() const;
    // Writes the file, leaving the zero stretches as holes. Throws
    // std::runtime_error when the file cannot be written.
    void writeFile(const std::string& path) const;
    // Copies the bytes at [offset, offset + out.size()) into `out`.
    void read(std::uint64_t offset, std::span<std::byte> out) const;

private:
    struct Piece {
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
        std::vector<std::byte> bytes; // empty for zeros
    };
    std::vector<Piece> pieces_;
    std::uint64_t size_ = 0;
};

// Reads a Layout as a document without ever materialising its zeros.
class LayoutSource final : public ByteSource {
public:
    explicit LayoutSource(const Layout& layout) : layout_(layout) {}
    std::uint64_t size() const override { return layout_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override;
    std::uint64_t bytesFetched() const override { return fetched_; }

private:
    const Layout& layout_;
    std::uint64_t fetched_ = 0;
};

enum class Format { Psd, Psb };

enum class RecordKind { Layer, OpenGroup, ClosedGroup, GroupEnd };

// How a block's length relates to its padding.
enum class BlockPadding {
    InLength,    // data padded to 4 bytes, the length counts the padding
    AfterLength, // the length is exact, zeros to a multiple of 4 follow
    None,        // the length is exact and nothing follows
};

// One additional-information block.
struct ExtraBlock {
    enum class Width { Standard, Narrow, Wide };

    std::string signature = "8BIM";
    std::string key;
    std::vector<std::byte> data;
    // Standard: 8 bytes in a PSB for the keys Adobe lists, else 4.
    Width width = Width::Standard;
};

struct Layer {
    RecordKind kind = RecordKind::Layer;
    std::u16string name;
    // What the layer holds: the writer adds the blocks that say so (a
    // 'TySh' block holding `text` for a text layer). Groups are made by
    // beginGroup().
    LayerKind content = LayerKind::Pixel;
    std::u16string text;
    bool hidden = false;
    // Raw bytes of the Pascal name; by default the UTF-8 form of `name`,
    // cut to 31 bytes as Photoshop does.
    std::optional<std::string> pascalName;
    bool writeUnicodeName = true;
    bool unicodeNameNul = false;    // a NUL after the Unicode name
    bool unicodeNameLast = false;   // 'luni' after every other block
    bool nestedDividerKey = false;  // 'lsdk' instead of 'lsct'
    std::vector<ExtraBlock> blocks; // written after 'luni' and 'lsct' unless unicodeNameLast
    std::int32_t top = 0, left = 0, bottom = 1, right = 1;
    std::string blendKey = "norm";
    std::uint16_t channels = 4;
    std::uint64_t channelDataBytes = 0; // per channel, after its compression word
    std::uint32_t maskDataBytes = 0;
    std::uint32_t blendingRangesBytes = 40;
};

// One image resource of the document.
struct ImageResource {
    std::uint16_t id = 0;
    std::vector<std::byte> data;
};

// A thumbnail resource (1036, or 1033 for the old blue-green-red form)
// holding `jpeg` as its image data.
ImageResource thumbnailResource(std::uint16_t id, std::span<const std::byte> jpeg, std::uint32_t width = 4,
                                std::uint32_t height = 4);

// A type tool block whose text descriptor holds `text`.
ExtraBlock typeToolBlock(std::u16string_view text);

// The blocks that make a layer of `kind` what it is, as Photoshop writes
// them (without their contents, but for the text); none for pixel layers
// and groups.
std::vector<ExtraBlock> contentBlocks(LayerKind kind, std::u16string_view text);

// Builds PSD and PSB documents. Layers are added top first, as the Layers
// panel shows them; the writer stores them bottom first as the format wants.
class PsdWriter {
public:
    enum class Placement { Auto, LayerInfo, Lr16, Lr32 };

    explicit PsdWriter(Format format = Format::Psd);

    Format format = Format::Psd;
    std::uint16_t channels = 3;
    std::uint32_t width = 4;
    std::uint32_t height = 4;
    std::uint16_t depth = 8;
    std::uint16_t colorMode = 3;
    // Auto keeps 16- and 32-bit layers in 'Lr16'/'Lr32', as Photoshop does.
    Placement placement = Placement::Auto;
    bool negativeLayerCount = false;
    bool omitGlobalMask = false;
    std::uint32_t namePadding = 4; // the Pascal name is padded to this multiple
    BlockPadding recordBlockPadding = BlockPadding::InLength;
    BlockPadding documentBlockPadding = BlockPadding::AfterLength;
    std::uint64_t colorModeDataBytes = 0;
    std::vector<ImageResource> imageResources; // before the zeros below
    std::uint64_t imageResourcesBytes = 0;
    // With 'Lr16'/'Lr32' placement, the records are split into blocks of
    // this many (0: one block).
    std::size_t recordsPerBlock = 0;
    std::uint64_t imageDataBytes = 16;            // merged image, after its compression word
    std::vector<ExtraBlock> documentBlocksBefore; // before 'Lr16'/'Lr32'
    std::vector<ExtraBlock> documentBlocksAfter;

    // Adds a layer below the ones added so far; the reference stays valid.
    Layer& layer(std::u16string name);
    // A group header; the layers added until the matching endGroup() are
    // inside it.
    Layer& beginGroup(std::u16string name, bool open = true);
    // The hidden marker that closes the innermost group.
    Layer& endGroup(std::u16string markerName = u"</Layer group>");
    Layer& add(Layer layer);

    Layout layout() const;
    std::vector<std::byte> bytes() const { return layout().bytes(); }
    void writeFile(const std::string& path) const { layout().writeFile(path); }

private:
    Layout layerRecords(std::size_t from, std::size_t count) const;
    void appendLayerBlocks(Layout& out, const std::string& key) const;
    ByteBuilder imageResourceBytes() const;
    ByteBuilder record(const Layer& layer) const;
    void appendBlock(ByteBuilder& out, const ExtraBlock& block, BlockPadding padding) const;
    bool wideLength(const ExtraBlock& block) const;
    bool psb() const { return format == Format::Psb; }

    std::deque<Layer> layers_; // top first
};

} // namespace hv::psd::testing
