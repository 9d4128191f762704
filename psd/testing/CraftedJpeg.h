#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hv::psd::testing {

// Hostile variants of a real JPEG for tests and benchmarks: they only patch
// or copy the encoder's bytes, so the entropy-coded data stays valid.

// `jpeg` with its frame header claiming `width` x `height` pixels.
std::vector<std::byte> withFrameSize(std::vector<std::byte> jpeg, std::uint16_t width, std::uint16_t height);

// `jpeg` with its last scan (marker, header and data) repeated `times` more
// times before the end of the image.
std::vector<std::byte> withLastScanRepeated(const std::vector<std::byte>& jpeg, int times);

} // namespace hv::psd::testing
