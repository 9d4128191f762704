#pragma once

#include "psd/detail/SectionCursor.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace hv::psd::detail {

constexpr Tag keyLuni = tag("luni");
constexpr Tag keyLsct = tag("lsct");
constexpr Tag keyLsdk = tag("lsdk");
constexpr Tag keyLr16 = tag("Lr16");
constexpr Tag keyLr32 = tag("Lr32");

bool isSignature(const Tag& t);
// The key between quotes, unprintable bytes as '?', for messages.
std::string quoted(const Tag& key);
std::uint64_t bigEndian(std::span<const std::byte> bytes);

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

    Step next(Block& block);

private:
    struct Candidate {
        bool wide = false;
        std::uint64_t length = 0;
        bool fits = false;
        bool continues = false;
    };

    Candidate evaluate(std::uint64_t lengthAt, bool wide, bool lookAhead);
    std::optional<std::uint64_t> signatureAt(std::uint64_t at);
    bool chainGoesOnAt(std::uint64_t at);

    SectionCursor& section_;
    bool psb_;
};

} // namespace hv::psd::detail
