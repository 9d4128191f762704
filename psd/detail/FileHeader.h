#pragma once

#include "psd/LayerReader.h"
#include "psd/detail/SectionCursor.h"

namespace hv::psd::detail {

// Reads the fixed header at the start of `file`: the signature, the version
// and the header's fields, leaving the cursor at the colour mode data. A
// file that is empty, of another format or of an unknown version fails the
// parse with the same text whichever reader asks.
Header readFileHeader(SectionCursor& file);

} // namespace hv::psd::detail
