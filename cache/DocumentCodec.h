#pragma once

#include "psd/LayerReader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace hv::cache {

// The layer cache's own compact form of a read document: the header facts,
// then each item's name, kind, depth, visibility, group, text and detail
// error. Numbers are little-endian base-128 varints, strings a length then
// their code units (UTF-16 units as numbers too, so ASCII takes a byte).
//
// A stored form is untrusted input (the cache file may be damaged or written
// by anyone who can write the user's files): decoding checks every length
// against what remains before it allocates, refuses a form longer than
// maxEncodedBytes, enumerations out of range, groups outside the document
// and trailing bytes, and then gives nothing instead of a document. Its work
// and memory are bounded by a small multiple of the form's length.
inline constexpr std::size_t maxEncodedBytes = std::size_t{64} << 20;

// Empty when the form would be longer than maxEncodedBytes (such a document
// is not cached).
std::string encodeDocument(const psd::Document& document);
std::optional<psd::Document> decodeDocument(std::string_view bytes);

} // namespace hv::cache
