#include "psd/LayerReader.h"

#include "psd/LayerDetails.h"
#include "psd/Text.h"
#include "psd/detail/BlockChain.h"
#include "psd/detail/FileHeader.h"
#include "psd/detail/SectionCursor.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace hv::psd {

namespace {

using namespace detail;

// A layer record with no room for anything but its fixed fields.
constexpr std::uint64_t smallestRecord = 16 + 2 + 4 + 4 + 4 + 4;

constexpr std::uint8_t hiddenFlag = 0x02;
constexpr Tag keyTySh = tag("TySh");
// The type tool block of Photoshop 5 and 6: its text is not read, and the
// layer says so rather than showing an empty text as its content.
constexpr Tag keyOldTySh = tag("tySh");
constexpr const char* oldTypeTextNotRead = "text not read: an old type layer ('tySh'), of Photoshop 6 or earlier";

// What a record's section divider block says it is.
enum Divider : std::uint8_t { NoDivider = 0, OpenGroup = 1, ClosedGroup = 2, GroupEnd = 3 };

class Parser {
public:
    explicit Parser(ByteSource& source, ReadMeter* meter = nullptr) : context_(source), meter_(meter) {}

    ReadResult run() {
        SectionCursor file(context_, 0, context_.fileSize(), "file");
        Document document;
        document.header = readFileHeader(file);
        if (context_.failed()) return context_.error();
        psb_ = document.header.version == 2;

        file.takeLengthPrefixed(false, "colour mode data");
        file.takeLengthPrefixed(false, "image resources");
        SectionCursor layers = file.takeLengthPrefixed(psb_, "layer and mask information");
        context_.source().expect(layers.position(), layers.end());
        if (layers.remaining() > 0) {
            SectionCursor info = layers.takeLengthPrefixed(psb_, "layer info");
            const bool heldRecords = info.remaining() > 0 && readLayerInfo(info) > 0;
            // Only documents without records here keep them in the blocks
            // after the pixel data, so the others are done.
            if (!heldRecords) {
                skipGlobalMask(layers);
                readDocumentBlocks(layers);
            }
        }
        if (context_.failed()) return context_.error();
        itemsFromRecords();
        document.items = std::move(items_);
        return document;
    }

private:
    // Layer count, then the layer records; the channel image data that
    // follows the records is never touched. Returns the count.
    std::uint64_t readLayerInfo(SectionCursor& info) {
        const std::uint64_t countAt = info.position();
        // A negative count only says that the first alpha channel holds the
        // merged transparency.
        const auto count = static_cast<std::uint64_t>(std::abs(int{info.i16("layer count")}));
        if (context_.failed()) return 0;
        if (count * smallestRecord > info.remaining()) {
            context_.fail(countAt, "the layer count " + std::to_string(count) + " at byte " + std::to_string(countAt)
                                       + " needs at least " + std::to_string(count * smallestRecord)
                                       + " bytes of layer records, but the " + info.name() + " holds only "
                                       + std::to_string(info.remaining()));
            return 0;
        }
        // Grow geometrically: a document may split its records over any
        // number of blocks, and reserving just enough for each would move
        // every earlier record again.
        if (items_.capacity() - items_.size() < count) {
            const std::size_t capacity = std::max(items_.size() + count, 2 * items_.capacity());
            if (meter_ && !meter_->charge((capacity - items_.capacity()) * bytesPerItem)) {
                context_.fail(countAt, "the read was no longer wanted");
                return 0;
            }
            items_.reserve(capacity);
            dividers_.reserve(items_.capacity());
        }
        for (std::uint64_t number = 1; number <= count && !context_.failed(); ++number) {
            readRecord(info);
            if (context_.failed()) {
                context_.amend(" (layer record " + std::to_string(number) + " of " + std::to_string(count) + ")");
            }
        }
        return count;
    }

    void readRecord(SectionCursor& info) {
        info.skip(16, "layer rectangle");
        const std::uint16_t channels = info.u16("channel count");
        info.skip(std::uint64_t{channels} * (psb_ ? 10u : 6u), "channel list");
        info.skip(4, "blend mode signature");
        info.skip(4, "blend mode key");
        info.skip(2, "opacity and clipping");
        const std::uint8_t flags = info.u8("layer flags");
        info.skip(1, "filler");
        SectionCursor extra = info.takeLengthPrefixed(false, "extra layer data");
        extra.takeLengthPrefixed(false, "layer mask data");
        extra.takeLengthPrefixed(false, "layer blending ranges");
        const std::uint64_t nameAt = extra.position();
        const std::uint8_t nameLength = extra.u8("layer name length");
        std::array<std::byte, 255> nameBytes{};
        extra.read(std::span(nameBytes).first(nameLength), "layer name");
        if (context_.failed()) return;

        LayerItem& item = items_.emplace_back();
        item.visible = (flags & hiddenFlag) == 0;
        // The name is padded to a multiple of 4 bytes; writers that pad less
        // are caught by the block chain's own padding rule.
        const std::uint64_t padded = nameAt + ((std::uint64_t{nameLength} + 1 + 3) & ~std::uint64_t{3});
        if (padded <= extra.end()) {
            if (const auto t = extra.peekTag(padded); t && isSignature(*t)) extra.moveTo(padded);
        }
        if (!readRecordBlocks(extra, item, flags)) {
            item.name = decodePascalName(std::string_view(reinterpret_cast<const char*>(nameBytes.data()), nameLength));
        }
    }

    // The tagged blocks of a record. Returns whether it had a Unicode name.
    bool readRecordBlocks(SectionCursor& extra, LayerItem& item, std::uint8_t flags) {
        std::optional<std::uint32_t> sectionType;       // from 'lsct'
        std::optional<std::uint32_t> nestedSectionType; // from 'lsdk'
        bool haveUnicodeName = false;
        bool haveText = false;
        KindClues clues;
        BlockChain chain(extra, psb_);
        Block block;
        while (!context_.failed()) {
            const Step step = chain.next(block);
            if (step == Step::End) break;
            if (step == Step::Overrun) {
                // An unknown block whose length is wrong cannot hide the
                // records after this one, which is all it may cost; a block
                // the name depends on is another matter.
                if (block.key == keyLuni || block.key == keyLsct || block.key == keyLsdk) failOverrun(block, extra);
                break;
            }
            SectionCursor& data = *block.data;
            clues.note(block.key);
            if (block.key == keyLuni && !haveUnicodeName) {
                item.name = readUnicodeName(data);
                haveUnicodeName = true;
            } else if (block.key == keyLsct && data.remaining() >= 4) {
                sectionType = data.u32("section divider type");
            } else if (block.key == keyLsdk && data.remaining() >= 4) {
                nestedSectionType = data.u32("section divider type");
            } else if (block.key == keyTySh && !haveText) {
                haveText = true;
                readTypeToolText(context_.source(), data.position(), data.end(), item.text, item.detailError);
            } else if (block.key == keyOldTySh && !haveText) {
                haveText = true;
                item.detailError = oldTypeTextNotRead;
            }
        }
        item.layerKind = kindOf(clues, flags);
        const std::uint32_t type = sectionType.value_or(nestedSectionType.value_or(NoDivider));
        dividers_.push_back(type <= GroupEnd ? static_cast<Divider>(type) : NoDivider);
        return haveUnicodeName;
    }

    std::u16string readUnicodeName(SectionCursor& data) {
        const std::uint64_t countAt = data.position();
        const std::uint32_t count = data.u32("Unicode name length");
        if (context_.failed()) return {};
        if (count > data.remaining() / 2) {
            context_.fail(countAt, "the Unicode layer name at byte " + std::to_string(countAt) + " claims "
                                       + std::to_string(count) + " characters, more than its "
                                       + std::to_string(data.end() - countAt) + "-byte block holds");
            return {};
        }
        std::vector<std::byte> raw(std::size_t{count} * 2);
        data.read(raw, "Unicode layer name");
        std::u16string name(count, u'\0');
        for (std::size_t i = 0; i < count; ++i)
            name[i] = static_cast<char16_t>(bigEndian(std::span(raw).subspan(2 * i, 2)));
        // Some writers end the name with a NUL that is not part of it.
        while (!name.empty() && name.back() == u'\0') name.pop_back();
        return name;
    }

    void failOverrun(const Block& block, const SectionCursor& section) {
        context_.fail(block.at, "the " + quoted(block.key) + " block at byte " + std::to_string(block.at) + " is "
                                    + std::to_string(block.length) + " bytes long and runs past the end of the "
                                    + section.name() + " at byte " + std::to_string(section.end()));
    }

    void skipGlobalMask(SectionCursor& layers) {
        if (context_.failed() || layers.remaining() < 4) return;
        // A few writers leave the global mask out and start the blocks right
        // away; a signature there is no plausible mask length.
        if (const auto t = layers.peekTag(layers.position()); t && isSignature(*t)) {
            std::array<std::byte, 4> raw{};
            std::copy(t->begin(), t->end(), reinterpret_cast<char*>(raw.data()));
            if (bigEndian(raw) > layers.remaining() - 4) return;
        }
        layers.takeLengthPrefixed(false, "global layer mask info");
    }

    // The document-level blocks; 16- and 32-bit documents keep their layer
    // records in 'Lr16' or 'Lr32' here.
    void readDocumentBlocks(SectionCursor& layers) {
        BlockChain chain(layers, psb_);
        Block block;
        while (!context_.failed()) {
            const Step step = chain.next(block);
            if (step == Step::End) break;
            const bool holdsLayers = block.key == keyLr16 || block.key == keyLr32;
            if (step == Step::Overrun) {
                if (holdsLayers) failOverrun(block, layers);
                break;
            }
            if (holdsLayers && block.data->remaining() > 0) readLayerInfo(*block.data);
        }
    }

    // Records come bottom first; the Layers panel lists them top first and
    // hides the markers that close groups. Done in place: a document may
    // hold a million records.
    void itemsFromRecords() {
        std::reverse(items_.begin(), items_.end());
        std::reverse(dividers_.begin(), dividers_.end());
        std::vector<std::size_t> open; // the groups around the next item
        std::size_t kept = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (dividers_[i] == GroupEnd) {
                if (!open.empty()) open.pop_back();
                continue;
            }
            LayerItem& item = items_[kept];
            if (kept != i) item = std::move(items_[i]);
            item.depth = static_cast<std::uint32_t>(open.size());
            item.group = open.empty() ? LayerItem::noGroup : open.back();
            if (dividers_[i] == OpenGroup || dividers_[i] == ClosedGroup) {
                item.kind = dividers_[i] == OpenGroup ? ItemKind::OpenGroup : ItemKind::ClosedGroup;
                item.layerKind = LayerKind::Group;
                open.push_back(kept);
            }
            ++kept;
        }
        items_.resize(kept);
    }

    // An item, its group marker and a name of up to 16 characters.
    static constexpr std::uint64_t bytesPerItem = sizeof(LayerItem) + sizeof(Divider) + 48;

    ParseContext context_;
    ReadMeter* meter_;
    bool psb_ = false;
    // Bottom first until itemsFromRecords().
    std::vector<LayerItem> items_;
    std::vector<Divider> dividers_;
};
ReadResult readFile(const std::string& path, FileReads& cost, ReadMeter* meter) {
    cost = {};
    std::string why;
    auto file = FileSource::open(path, why);
    if (!file) return ReadError{0, why};
    WindowedSource windowed(*file, documentPlan);
    ReadResult result = Parser(windowed, meter).run();
    cost = {file->bytesFetched(), file->requests()};
    return result;
}

} // namespace

const char* kindName(LayerKind kind) {
    switch (kind) {
    case LayerKind::Group: return "group";
    case LayerKind::Pixel: return "pixel";
    case LayerKind::Text: return "text";
    case LayerKind::SmartObject: return "smart object";
    case LayerKind::Shape: return "shape";
    case LayerKind::Fill: return "fill";
    case LayerKind::Adjustment: return "adjustment";
    }
    return "pixel";
}

std::vector<std::u16string> Document::groupPath(std::size_t index) const {
    std::vector<std::u16string> path;
    for (std::size_t at = index < items.size() ? items[index].group : LayerItem::noGroup;
         at < items.size() && path.size() < items.size(); at = items[at].group)
        path.push_back(items[at].name);
    std::reverse(path.begin(), path.end());
    return path;
}

std::vector<std::u16string> Document::names() const {
    std::vector<std::u16string> result;
    result.reserve(items.size());
    for (const LayerItem& item : items) result.push_back(item.name);
    return result;
}

ReadResult readLayerItems(ByteSource& source) {
    return Parser(source).run();
}

ReadResult readLayerItems(std::span<const std::byte> data) {
    MemorySource source(data);
    return readLayerItems(source);
}

ReadResult readLayerItems(const std::string& path, FileReads& cost, ReadMeter& meter) {
    return readFile(path, cost, &meter);
}

ReadResult readLayerItems(const std::string& path, FileReads& cost) {
    return readFile(path, cost, nullptr);
}

ReadResult readLayerItems(const std::string& path, std::uint64_t* bytesRead) {
    FileReads cost;
    ReadResult result = readLayerItems(path, cost);
    if (bytesRead) *bytesRead = cost.bytes;
    return result;
}

} // namespace hv::psd
