#include "psd/detail/BlockChain.h"

#include <algorithm>
#include <array>

namespace hv::psd::detail {

namespace {

// Keys whose block length takes 8 bytes in a PSB file, as published by Adobe.
// Other programs disagree on a few, which is why every block's length is
// checked against what follows it (see BlockChain::next).
bool hasWideLength(const Tag& key) {
    static constexpr std::array keys = {tag("LMsk"), tag("Lr16"), tag("Lr32"), tag("Layr"), tag("Mt16"),
                                        tag("Mt32"), tag("Mtrn"), tag("Alph"), tag("FMsk"), tag("lnk2"),
                                        tag("FEid"), tag("FXid"), tag("PxSD")};
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

} // namespace

bool isSignature(const Tag& t) {
    return t == tag("8BIM") || t == tag("8B64");
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

Step BlockChain::next(Block& block) {
    const auto start = signatureAt(section_.position());
    if (!start || section_.end() - *start < 12) return Step::End;
    section_.moveTo(*start + 4);
    block.at = *start;
    block.key = section_.readTag("block key");
    const std::uint64_t lengthAt = section_.position();

    // In a PSB a length is 8 bytes for some keys and 4 for the others. A
    // wrong guess shows as a block that overruns its section or is not
    // followed by another block; then the other width is tried. A PSD has
    // one width, so it never looks past the block (which may be far away).
    const bool wide = psb_ && hasWideLength(block.key);
    Candidate chosen = evaluate(lengthAt, wide, psb_);
    if (psb_ && !chosen.continues) {
        const Candidate other = evaluate(lengthAt, !wide, true);
        if (other.continues || (!chosen.fits && other.fits)) chosen = other;
    }
    block.length = chosen.length;
    if (!chosen.fits) return Step::Overrun;
    section_.skip(chosen.wide ? 8 : 4, "block length");
    block.data.emplace(section_.take(chosen.length, quoted(block.key) + " block", lengthAt));
    return section_.failed() ? Step::End : Step::Block;
}

BlockChain::Candidate BlockChain::evaluate(std::uint64_t lengthAt, bool wide, bool lookAhead) {
    Candidate c;
    c.wide = wide;
    std::array<std::byte, 8> raw{};
    const auto field = std::span(raw).first(wide ? 8 : 4);
    if (!section_.peek(lengthAt, field)) return c;
    c.length = bigEndian(field);
    const std::uint64_t dataAt = lengthAt + field.size();
    c.fits = c.length <= section_.end() - dataAt;
    c.continues = lookAhead && c.fits && chainGoesOnAt(dataAt + c.length);
    return c;
}

// A signature at `at` or after up to three zero bytes.
std::optional<std::uint64_t> BlockChain::signatureAt(std::uint64_t at) {
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
bool BlockChain::chainGoesOnAt(std::uint64_t at) {
    const std::uint64_t left = section_.end() - at;
    if (left < 4) {
        std::array<std::byte, 3> tail{};
        const auto bytes = std::span(tail).first(left);
        return section_.peek(at, bytes)
               && std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b == std::byte{0}; });
    }
    return signatureAt(at).has_value();
}

} // namespace hv::psd::detail
