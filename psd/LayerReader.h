#pragma once

#include "psd/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace hv::psd {

// Why a document could not be read: the byte offset where the problem was
// found, and a sentence for the user that names it (it already mentions the
// offset where that helps, so it can be shown as it is).
struct ReadError {
    std::uint64_t offset = 0;
    std::string message;
};

// The fixed header of a document.
struct Header {
    std::uint16_t version = 0; // 1 = PSD, 2 = PSB (large document format)
    std::uint16_t channels = 0;
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::uint16_t depth = 0;     // bits per channel
    std::uint16_t colorMode = 0; // 0 bitmap, 1 grayscale, 2 indexed, 3 RGB, 4 CMYK, 7 multichannel, 8 duotone, 9 Lab
};

enum class ItemKind { Layer, OpenGroup, ClosedGroup };

// What an item holds, told from its record's tagged blocks.
enum class LayerKind { Group, Pixel, Text, SmartObject, Shape, Fill, Adjustment };

// "group", "pixel", "text", "smart object", "shape", "fill", "adjustment".
const char* kindName(LayerKind kind);

// One entry of the Layers panel: a layer or a group header.
struct LayerItem {
    static constexpr std::size_t noGroup = std::numeric_limits<std::size_t>::max();

    std::u16string name;
    ItemKind kind = ItemKind::Layer;
    std::uint32_t depth = 0; // 0 for items outside any group
    LayerKind layerKind = LayerKind::Pixel;
    bool visible = true;
    // Index in Document::items of the innermost group holding this item.
    std::size_t group = noGroup;
    // A text layer's text as its type tool block stores it (paragraphs end
    // with a carriage return); empty for other items.
    std::u16string text;
    // Empty when every detail was read; otherwise why one was not (the
    // name, kind, visibility and group are still right).
    std::string detailError;
};

struct Document {
    Header header;
    // Topmost first, as the Layers panel lists them; group-end markers are
    // not items.
    std::vector<LayerItem> items;

    std::vector<std::u16string> names() const;
    // Names of the groups around items[index], outermost first.
    std::vector<std::u16string> groupPath(std::size_t index) const;
};

class ReadResult {
public:
    ReadResult(Document document) : value_(std::move(document)) {}
    ReadResult(ReadError error) : value_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<Document>(value_); }
    const Document& document() const { return std::get<Document>(value_); }
    Document takeDocument() && { return std::get<Document>(std::move(value_)); }
    const ReadError& error() const { return std::get<ReadError>(value_); }

private:
    std::variant<Document, ReadError> value_;
};

// What reading one document from a file cost.
struct FileReads {
    std::uint64_t bytes = 0;    // fetched from the file
    std::uint64_t requests = 0; // reads sent to the file system
};

// Told by a read, as it goes, how much memory its result is about to take.
class ReadMeter {
public:
    // Called before `bytes` more are held (may wait until there is room).
    // False when the result is no longer wanted: the read then gives up.
    virtual bool charge(std::uint64_t bytes) = 0;

protected:
    ~ReadMeter() = default;
};

// The meter of a read that nothing bounds.
class Unmetered final : public ReadMeter {
public:
    bool charge(std::uint64_t) override { return true; }
};

// Reads the layer items of the PSD or PSB document at `path`. Only the
// header, the section lengths and the layer records are read, never pixel
// data, so the cost does not depend on the image size. `bytesRead`, when
// given, receives the number of bytes fetched from the file.
ReadResult readLayerItems(const std::string& path, std::uint64_t* bytesRead = nullptr);
ReadResult readLayerItems(const std::string& path, FileReads& reads);
// The same, telling `meter` of the memory for the layer items as it goes
// (an estimate: a fixed size per item, the parse's buffers not counted).
ReadResult readLayerItems(const std::string& path, FileReads& reads, ReadMeter& meter);

// The same for a document in memory.
ReadResult readLayerItems(std::span<const std::byte> data);

// The same for any source of bytes.
ReadResult readLayerItems(ByteSource& source);

} // namespace hv::psd
