#include "psd/LayerReader.h"

#include "psd/SectionCursor.h"
#include "psd/Text.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace hv::psd {

namespace {

using detail::ParseContext;
using detail::SectionCursor;
using detail::Tag;
using detail::tag;

constexpr Tag keyLuni = tag("luni");
constexpr Tag keyLsct = tag("lsct");
constexpr Tag keyLsdk = tag("lsdk");
constexpr Tag keyLr16 = tag("Lr16");
constexpr Tag keyLr32 = tag("Lr32");

// A layer record with no room for anything but its fixed fields.
constexpr std::uint64_t smallestRecord = 16 + 2 + 4 + 4 + 4 + 4;

bool isSignature(const Tag& t) {
    return t == tag("8BIM") || t == tag("8B64");
}

// Keys whose block length takes 8 bytes in a PSB file, as published by Adobe.
// Other programs disagree on a few, which is why every block's length is
// checked against what follows it (see BlockChain::next).
bool hasWideLength(const Tag& key) {
    static constexpr std::array keys = {tag("LMsk"), tag("Lr16"), tag("Lr32"), tag("Layr"), tag("Mt16"),
                                        tag("Mt32"), tag("Mtrn"), tag("Alph"), tag("FMsk"), tag("lnk2"),
                                        tag("FEid"), tag("FXid"), tag("PxSD")};
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::string quoted(const Tag& key) {
    std::string text = "'";
    for (const char c : key) text.push_back(c >= 0x20 && c < 0x7F ? c : '?');
    return text + "'";
}

std::uint64_t bigEndian(std::span<const std::byte> bytes) {
    std::uint64_t value = 0;
    for (const std::byte b : bytes) value = (value << 8) | static_cast<std::uint64_t>(b);
    return value;
}

// One additional-information block: signature, key, length, data.
struct Block {
    Tag key{};
    std::uint64_t at = 0;     // offset of its signature
    std::uint64_t length = 0; // as stored
    std::optional<SectionCursor> data;
};

enum class Step { Block, End, Overrun };

// Walks a run of additional-information blocks in one section. Writers pad
// blocks differently (a length may or may not include the padding), so a
// block may start after up to three zero bytes. Bytes that are not a block
// end the run: they are padding or data this reader does not need.
class BlockChain {
public:
    BlockChain(SectionCursor& section, bool psb) : section_(section), psb_(psb) {}

    Step next(Block& block) {
        const auto start = signatureAt(section_.position());
        if (!start || section_.end() - *start < 12) return Step::End;
        section_.moveTo(*start + 4);
        block.at = *start;
        block.key = section_.readTag("block key");
        const std::uint64_t lengthAt = section_.position();

        // In a PSB a length is 8 bytes for some keys and 4 for the others. A
        // wrong guess shows as a block that overruns its section or is not
        // followed by another block; then the other width is tried.
        const bool wide = psb_ && hasWideLength(block.key);
        Candidate chosen = evaluate(lengthAt, wide);
        if (psb_ && !chosen.continues) {
            const Candidate other = evaluate(lengthAt, !wide);
            if (other.continues || (!chosen.fits && other.fits)) chosen = other;
        }
        block.length = chosen.length;
        if (!chosen.fits) return Step::Overrun;
        section_.skip(chosen.wide ? 8 : 4, "block length");
        block.data.emplace(section_.take(chosen.length, quoted(block.key) + " block", lengthAt));
        return section_.failed() ? Step::End : Step::Block;
    }

private:
    struct Candidate {
        bool wide = false;
        std::uint64_t length = 0;
        bool fits = false;
        bool continues = false;
    };

    Candidate evaluate(std::uint64_t lengthAt, bool wide) {
        Candidate c;
        c.wide = wide;
        std::array<std::byte, 8> raw{};
        const auto field = std::span(raw).first(wide ? 8 : 4);
        if (!section_.peek(lengthAt, field)) return c;
        c.length = bigEndian(field);
        const std::uint64_t dataAt = lengthAt + field.size();
        c.fits = c.length <= section_.end() - dataAt;
        c.continues = c.fits && chainGoesOnAt(dataAt + c.length);
        return c;
    }

    // A signature at `at` or after up to three zero bytes.
    std::optional<std::uint64_t> signatureAt(std::uint64_t at) {
        for (std::uint64_t skipped = 0; skipped < 4; ++skipped) {
            const auto t = section_.peekTag(at + skipped);
            if (!t) return std::nullopt;
            if (isSignature(*t)) return at + skipped;
            if (t->front() != 0) return std::nullopt;
        }
        return std::nullopt;
    }

    // True when `at` is the end of the section (give or take zero padding)
    // or the start of another block.
    bool chainGoesOnAt(std::uint64_t at) {
        const std::uint64_t left = section_.end() - at;
        if (left < 4) {
            std::array<std::byte, 3> tail{};
            const auto bytes = std::span(tail).first(left);
            return section_.peek(at, bytes)
                   && std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b == std::byte{0}; });
        }
        return signatureAt(at).has_value();
    }

    SectionCursor& section_;
    bool psb_;
};

struct Record {
    std::u16string name;
    std::optional<std::uint32_t> sectionType;       // from 'lsct'
    std::optional<std::uint32_t> nestedSectionType; // from 'lsdk'
};

class Parser {
public:
    explicit Parser(ByteSource& source) : context_(source) {}

    ReadResult run() {
        const std::uint64_t size = context_.fileSize();
        if (size == 0) return ReadError{0, "the file is empty, so it is not a Photoshop document"};
        SectionCursor file(context_, 0, size, "file");
        std::array<std::byte, 4> signature{};
        if (!file.peek(0, signature) || bigEndian(signature) != 0x38425053) {
            if (context_.failed()) return context_.error();
            return ReadError{0, "not a Photoshop document: the file does not start with the "
                                "signature '8BPS'"};
        }
        file.skip(4, "signature");
        Document document;
        Header& header = document.header;
        header.version = file.u16("version number");
        if (context_.failed()) return context_.error();
        if (header.version != 1 && header.version != 2) {
            return ReadError{4, "unsupported Photoshop file version " + std::to_string(header.version)
                                    + ": only version 1 (PSD) and version 2 (PSB, large document "
                                      "format) are known"};
        }
        psb_ = header.version == 2;
        file.skip(6, "reserved header field");
        header.channels = file.u16("channel count");
        header.height = file.u32("image height");
        header.width = file.u32("image width");
        header.depth = file.u16("bit depth");
        header.colorMode = file.u16("colour mode");

        file.takeLengthPrefixed(false, "colour mode data");
        file.takeLengthPrefixed(false, "image resources");
        SectionCursor layers = file.takeLengthPrefixed(psb_, "layer and mask information");
        if (layers.remaining() > 0) {
            SectionCursor info = layers.takeLengthPrefixed(psb_, "layer info");
            if (info.remaining() > 0) readLayerInfo(info);
            skipGlobalMask(layers);
            readDocumentBlocks(layers);
        }
        if (context_.failed()) return context_.error();
        document.items = itemsFromRecords();
        return document;
    }

private:
    // Layer count, then the layer records; the channel image data that
    // follows the records is never touched.
    void readLayerInfo(SectionCursor& info) {
        const std::uint64_t countAt = info.position();
        // A negative count only says that the first alpha channel holds the
        // merged transparency.
        const auto count = static_cast<std::uint64_t>(std::abs(int{info.i16("layer count")}));
        if (context_.failed()) return;
        if (count * smallestRecord > info.remaining()) {
            context_.fail(countAt, "the layer count " + std::to_string(count) + " at byte " + std::to_string(countAt)
                                       + " needs at least " + std::to_string(count * smallestRecord)
                                       + " bytes of layer records, but the " + info.name() + " holds only "
                                       + std::to_string(info.remaining()));
            return;
        }
        records_.reserve(records_.size() + count);
        for (std::uint64_t number = 1; number <= count && !context_.failed(); ++number) {
            readRecord(info);
            if (context_.failed()) {
                context_.amend(" (layer record " + std::to_string(number) + " of " + std::to_string(count) + ")");
            }
        }
    }

    void readRecord(SectionCursor& info) {
        info.skip(16, "layer rectangle");
        const std::uint16_t channels = info.u16("channel count");
        info.skip(std::uint64_t{channels} * (psb_ ? 10u : 6u), "channel list");
        info.skip(4, "blend mode signature");
        info.skip(4, "blend mode key");
        info.skip(4, "opacity and flags");
        SectionCursor extra = info.takeLengthPrefixed(false, "extra layer data");
        extra.takeLengthPrefixed(false, "layer mask data");
        extra.takeLengthPrefixed(false, "layer blending ranges");
        const std::uint64_t nameAt = extra.position();
        const std::uint8_t nameLength = extra.u8("layer name length");
        std::array<std::byte, 255> nameBytes{};
        extra.read(std::span(nameBytes).first(nameLength), "layer name");
        if (context_.failed()) return;

        Record record;
        // The name is padded to a multiple of 4 bytes; writers that pad less
        // are caught by the block chain's own padding rule.
        const std::uint64_t padded = nameAt + ((std::uint64_t{nameLength} + 1 + 3) & ~std::uint64_t{3});
        if (padded <= extra.end()) {
            if (const auto t = extra.peekTag(padded); t && isSignature(*t)) extra.moveTo(padded);
        }
        bool haveUnicodeName = false;
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
            if (block.key == keyLuni && !haveUnicodeName) {
                record.name = readUnicodeName(data);
                haveUnicodeName = true;
            } else if (block.key == keyLsct && data.remaining() >= 4) {
                record.sectionType = data.u32("section divider type");
            } else if (block.key == keyLsdk && data.remaining() >= 4) {
                record.nestedSectionType = data.u32("section divider type");
            }
        }
        if (!haveUnicodeName) {
            record.name =
                decodePascalName(std::string_view(reinterpret_cast<const char*>(nameBytes.data()), nameLength));
        }
        records_.push_back(std::move(record));
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
    // hides the markers that close groups.
    std::vector<LayerItem> itemsFromRecords() {
        std::vector<LayerItem> items;
        items.reserve(records_.size());
        std::uint32_t depth = 0;
        for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
            const std::uint32_t type = it->sectionType.value_or(it->nestedSectionType.value_or(0));
            if (type == 3) {
                if (depth > 0) --depth;
                continue;
            }
            LayerItem item;
            item.name = std::move(it->name);
            item.depth = depth;
            if (type == 1 || type == 2) {
                item.kind = type == 1 ? ItemKind::OpenGroup : ItemKind::ClosedGroup;
                ++depth;
            }
            items.push_back(std::move(item));
        }
        return items;
    }

    ParseContext context_;
    bool psb_ = false;
    std::vector<Record> records_;
};

} // namespace

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

ReadResult readLayerItems(const std::string& path, std::uint64_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    std::string why;
    auto file = FileSource::open(path, why);
    if (!file) return ReadError{0, why};
    WindowedSource windowed(*file);
    ReadResult result = readLayerItems(windowed);
    if (bytesRead) *bytesRead = file->bytesFetched();
    return result;
}

} // namespace hv::psd
