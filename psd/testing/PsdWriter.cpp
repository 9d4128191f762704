#include "psd/testing/PsdWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace hv::psd::testing {

void Layout::append(std::span<const std::byte> bytes) {
    if (bytes.empty()) return;
    if (!pieces_.empty() && !pieces_.back().bytes.empty()) {
        Piece& last = pieces_.back();
        last.bytes.insert(last.bytes.end(), bytes.begin(), bytes.end());
        last.size += bytes.size();
    } else {
        pieces_.push_back(Piece{size_, bytes.size(), {bytes.begin(), bytes.end()}});
    }
    size_ += bytes.size();
}

void Layout::appendZeros(std::uint64_t count) {
    if (count == 0) return;
    if (!pieces_.empty() && pieces_.back().bytes.empty())
        pieces_.back().size += count;
    else
        pieces_.push_back(Piece{size_, count, {}});
    size_ += count;
}

void Layout::append(const Layout& other) {
    for (const Piece& piece : other.pieces_) {
        if (piece.bytes.empty())
            appendZeros(piece.size);
        else
            append(piece.bytes);
    }
}

std::vector<std::byte> Layout::bytes() const {
    std::vector<std::byte> out(static_cast<std::size_t>(size_));
    read(0, out);
    return out;
}

void Layout::read(std::uint64_t offset, std::span<std::byte> out) const {
    if (offset > size_ || out.size() > size_ - offset) throw std::out_of_range("read outside the layout");
    auto it = std::upper_bound(pieces_.begin(), pieces_.end(), offset,
                               [](std::uint64_t at, const Piece& p) { return at < p.offset; });
    std::size_t done = 0;
    while (done < out.size()) {
        const Piece& piece = *std::prev(it);
        const std::uint64_t inPiece = offset + done - piece.offset;
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size - inPiece, out.size() - done));
        if (piece.bytes.empty())
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(done), n, std::byte{0});
        else
            std::copy_n(piece.bytes.begin() + static_cast<std::ptrdiff_t>(inPiece), n,
                        out.begin() + static_cast<std::ptrdiff_t>(done));
        done += n;
        ++it;
    }
}

void Layout::writeFile(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    auto fail = [&](const char* what) {
        const std::string message = std::string(what) + " " + path + ": " + std::strerror(errno);
        ::close(fd);
        throw std::runtime_error(message);
    };
    for (const Piece& piece : pieces_) {
        if (piece.bytes.empty()) continue;
        std::size_t done = 0;
        while (done < piece.bytes.size()) {
            const ssize_t n = ::pwrite(fd, piece.bytes.data() + done, piece.bytes.size() - done,
                                       static_cast<off_t>(piece.offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) fail("cannot write");
            done += static_cast<std::size_t>(n);
        }
    }
    // Zero stretches were skipped, so they stay holes; this also sets the
    // size when the file ends in one.
    if (::ftruncate(fd, static_cast<off_t>(size_)) != 0) fail("cannot size");
    if (::close(fd) != 0) throw std::runtime_error("cannot close " + path + ": " + std::strerror(errno));
}

bool LayoutSource::readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) {
    if (offset > layout_.size() || out.size() > layout_.size() - offset) {
        error = "read outside the document";
        return false;
    }
    layout_.read(offset, out);
    fetched_ += out.size();
    return true;
}

namespace {

std::string utf8Cut(const std::u16string& name, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char32_t cp = name[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < name.size()) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (name[i + 1] - 0xDC00u);
            ++i;
        }
        std::string enc;
        if (cp < 0x80) {
            enc.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            enc.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            enc.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            enc.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            enc.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            enc.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            enc.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            enc.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            enc.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            enc.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        if (out.size() + enc.size() > limit) break;
        out += enc;
    }
    return out;
}

std::vector<std::byte> toBytes(const ByteBuilder& b) {
    return b.vector();
}

std::uint32_t dividerType(RecordKind kind) {
    switch (kind) {
    case RecordKind::OpenGroup: return 1;
    case RecordKind::ClosedGroup: return 2;
    case RecordKind::GroupEnd: return 3;
    case RecordKind::Layer: break;
    }
    return 0;
}

} // namespace

PsdWriter::PsdWriter(Format f) : format(f) {}

Layer& PsdWriter::add(Layer layer) {
    layers_.push_back(std::move(layer));
    return layers_.back();
}

Layer& PsdWriter::layer(std::u16string name) {
    Layer l;
    l.name = std::move(name);
    return add(std::move(l));
}

Layer& PsdWriter::beginGroup(std::u16string name, bool open) {
    Layer l;
    l.kind = open ? RecordKind::OpenGroup : RecordKind::ClosedGroup;
    l.name = std::move(name);
    l.blendKey = "pass";
    l.channels = 4;
    return add(std::move(l));
}

Layer& PsdWriter::endGroup(std::u16string markerName) {
    Layer l;
    l.kind = RecordKind::GroupEnd;
    l.name = std::move(markerName);
    return add(std::move(l));
}

bool PsdWriter::wideLength(const ExtraBlock& block) const {
    if (block.width != ExtraBlock::Width::Standard) return block.width == ExtraBlock::Width::Wide;
    static const std::array<std::string, 13> keys = {"LMsk", "Lr16", "Lr32", "Layr", "Mt16", "Mt32", "Mtrn",
                                                     "Alph", "FMsk", "lnk2", "FEid", "FXid", "PxSD"};
    return psb() && std::find(keys.begin(), keys.end(), block.key) != keys.end();
}

void PsdWriter::appendBlock(ByteBuilder& out, const ExtraBlock& block, BlockPadding padding) const {
    const std::size_t padded = (block.data.size() + 3) / 4 * 4;
    out.text(block.signature).text(block.key);
    out.length(padding == BlockPadding::InLength ? padded : block.data.size(), wideLength(block));
    out.bytes(block.data);
    if (padding != BlockPadding::None) out.zeros(padded - block.data.size());
}

ByteBuilder PsdWriter::record(const Layer& layer) const {
    ByteBuilder r;
    r.i32(layer.top).i32(layer.left).i32(layer.bottom).i32(layer.right);
    r.u16(layer.channels);
    for (std::uint16_t c = 0; c < layer.channels; ++c)
        r.i16(static_cast<std::int16_t>(c - 1)).length(2 + layer.channelDataBytes, psb());
    // Flags: bit 3 says bit 4 is meaningful, bit 4 that the pixels do not
    // make the layer's look (set for group ends and shapes), bit 1 hides it.
    const bool vector = layer.kind == RecordKind::GroupEnd || layer.content == LayerKind::Shape;
    const auto flags = static_cast<std::uint8_t>(0x08 | (vector ? 0x10 : 0) | (layer.hidden ? 0x02 : 0));
    r.text("8BIM").text(layer.blendKey).u8(255).u8(0).u8(flags).u8(0);

    ByteBuilder extra;
    extra.u32(layer.maskDataBytes).zeros(layer.maskDataBytes);
    extra.u32(layer.blendingRangesBytes).zeros(layer.blendingRangesBytes);
    const std::string pascal = layer.pascalName.value_or(utf8Cut(layer.name, 31));
    const std::size_t nameLength = std::min<std::size_t>(pascal.size(), 255);
    const std::size_t nameStart = extra.size();
    extra.u8(static_cast<std::uint8_t>(nameLength)).text(std::string_view(pascal).substr(0, nameLength));
    while ((extra.size() - nameStart) % std::max<std::uint32_t>(namePadding, 1) != 0) extra.u8(0);

    std::vector<ExtraBlock> blocks;
    ExtraBlock unicode;
    if (layer.writeUnicodeName) {
        ByteBuilder data;
        data.u32(static_cast<std::uint32_t>(layer.name.size() + (layer.unicodeNameNul ? 1 : 0)));
        for (const char16_t c : layer.name) data.u16(c);
        if (layer.unicodeNameNul) data.u16(0);
        unicode.key = "luni";
        unicode.data = toBytes(data);
        if (!layer.unicodeNameLast) blocks.push_back(unicode);
    }
    if (layer.kind != RecordKind::Layer) {
        ByteBuilder data;
        data.u32(dividerType(layer.kind));
        if (layer.kind != RecordKind::GroupEnd) data.text("8BIM").text(layer.blendKey);
        ExtraBlock divider;
        divider.key = layer.nestedDividerKey ? "lsdk" : "lsct";
        divider.data = toBytes(data);
        blocks.push_back(divider);
    }
    for (ExtraBlock& block : contentBlocks(layer.content, layer.text)) blocks.push_back(std::move(block));
    blocks.insert(blocks.end(), layer.blocks.begin(), layer.blocks.end());
    if (layer.writeUnicodeName && layer.unicodeNameLast) blocks.push_back(unicode);
    for (const ExtraBlock& block : blocks) appendBlock(extra, block, recordBlockPadding);

    r.section(extra);
    return r;
}

// Layer count, records [from, from + count) in file order (bottom first),
// then every channel's image data.
Layout PsdWriter::layerRecords(std::size_t from, std::size_t count) const {
    if (count > 32767) throw std::length_error("a block holds at most 32767 layer records");
    ByteBuilder head;
    const auto signedCount = static_cast<std::int16_t>(count);
    head.i16(negativeLayerCount ? static_cast<std::int16_t>(-signedCount) : signedCount);
    std::uint64_t channelData = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        const Layer& layer = layers_[layers_.size() - 1 - i];
        head.bytes(record(layer).data());
        channelData += std::uint64_t{layer.channels} * (2 + layer.channelDataBytes);
    }
    Layout out;
    out.append(head);
    out.appendZeros(channelData);
    return out;
}

// The records in one or more 'Lr16'/'Lr32' blocks. The records (and their
// channel data, which may be huge) sit inside a block, so it is laid out
// piece by piece rather than via appendBlock.
void PsdWriter::appendLayerBlocks(Layout& out, const std::string& key) const {
    const std::size_t perBlock = recordsPerBlock == 0 ? layers_.size() : recordsPerBlock;
    for (std::size_t from = 0; from < layers_.size() || from == 0; from += perBlock) {
        ExtraBlock header;
        header.key = key;
        Layout body = layerRecords(from, std::min(perBlock, layers_.size() - from));
        const std::uint64_t padded = (body.size() + 3) / 4 * 4;
        ByteBuilder head;
        head.text("8BIM").text(header.key);
        head.length(documentBlockPadding == BlockPadding::InLength ? padded : body.size(), wideLength(header));
        out.append(head);
        out.append(body);
        if (documentBlockPadding != BlockPadding::None) out.appendZeros(padded - body.size());
        if (perBlock == 0) break;
    }
}

ByteBuilder PsdWriter::imageResourceBytes() const {
    ByteBuilder out;
    for (const ImageResource& resource : imageResources) {
        out.text("8BIM").u16(resource.id).u16(0); // an empty name, padded to two bytes
        out.u32(static_cast<std::uint32_t>(resource.data.size())).bytes(resource.data).padTo(2);
    }
    return out;
}

Layout PsdWriter::layout() const {
    Placement where = placement;
    if (where == Placement::Auto)
        where = depth == 16 ? Placement::Lr16 : depth == 32 ? Placement::Lr32 : Placement::LayerInfo;

    Layout layerAndMask;
    {
        Layout info;
        if (where == Placement::LayerInfo && !layers_.empty()) {
            info = layerRecords(0, layers_.size());
            if (info.size() % 2 != 0) info.appendZeros(1);
        }
        ByteBuilder length;
        length.length(info.size(), psb());
        layerAndMask.append(length);
        layerAndMask.append(info);
    }
    if (!omitGlobalMask) {
        ByteBuilder globalMask;
        globalMask.u32(0);
        layerAndMask.append(globalMask);
    }
    auto appendDocumentBlocks = [&](const std::vector<ExtraBlock>& blocks) {
        ByteBuilder out;
        for (const ExtraBlock& block : blocks) appendBlock(out, block, documentBlockPadding);
        layerAndMask.append(out);
    };
    appendDocumentBlocks(documentBlocksBefore);
    if (where != Placement::LayerInfo) appendLayerBlocks(layerAndMask, where == Placement::Lr16 ? "Lr16" : "Lr32");
    appendDocumentBlocks(documentBlocksAfter);

    Layout file;
    ByteBuilder header;
    header.text("8BPS").u16(psb() ? 2 : 1).zeros(6).u16(channels).u32(height).u32(width).u16(depth).u16(colorMode);
    header.u32(static_cast<std::uint32_t>(colorModeDataBytes));
    file.append(header);
    file.appendZeros(colorModeDataBytes);
    const ByteBuilder resources = imageResourceBytes();
    ByteBuilder resourcesLength;
    resourcesLength.u32(static_cast<std::uint32_t>(resources.size() + imageResourcesBytes));
    file.append(resourcesLength);
    file.append(resources);
    file.appendZeros(imageResourcesBytes);
    ByteBuilder layerAndMaskLength;
    layerAndMaskLength.length(layerAndMask.size(), psb());
    file.append(layerAndMaskLength);
    file.append(layerAndMask);
    ByteBuilder compression;
    compression.u16(0);
    file.append(compression);
    file.appendZeros(imageDataBytes);
    return file;
}

} // namespace hv::psd::testing
