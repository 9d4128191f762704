#pragma once

#include "psd/ByteSource.h"
#include "psd/LayerReader.h"
#include "psd/detail/SectionCursor.h"

#include <cstdint>
#include <string>

namespace hv::psd::detail {

// What the keys of a record's tagged blocks say about the layer's kind.
struct KindClues {
    bool text = false;
    bool smartObject = false;
    bool fill = false;
    bool adjustment = false;
    bool vector = false;
    bool shapeContent = false; // 'vscg': the fill of a shape layer, whatever the flags say

    void note(const Tag& key);
};

// The kind of a layer that is not a group, from its clues and the flags
// byte of its record.
LayerKind kindOf(const KindClues& clues, std::uint8_t flags);

// Reads the text of the type tool block at [begin, end): the 'Txt ' item of
// its text descriptor. A fault in the block is no fault of the document: it
// gives false and a message in `error`.
bool readTypeToolText(ByteSource& source, std::uint64_t begin, std::uint64_t end, std::u16string& text,
                      std::string& error);

} // namespace hv::psd::detail
