#pragma once

#include <cstdint>

namespace hv::psd {

// The version of what the reader gives for a document (psd::Document and the
// items' details). Anything that keeps read documents, such as the layer
// cache, keeps this number beside them and throws away what an older number
// wrote.
//
// Raise it by one in the same commit as any change that makes the reader
// give other items or details for some document: a fixed misreading, a new
// detail, another kind, other error texts. A change that only reads faster
// or with fewer requests leaves it alone.
inline constexpr std::uint32_t readerFormatVersion = 1;

} // namespace hv::psd
