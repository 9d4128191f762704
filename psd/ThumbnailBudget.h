#pragma once

#include "psd/Thumbnail.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace hv::psd {

// What a JPEG says of itself in its markers, read without decoding it.
struct JpegFrame {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t components = 0;
    std::uint32_t precision = 0; // bits per sample
    std::uint32_t scans = 0;     // start-of-scan markers seen
};

// Walks the markers of `jpeg` as a decoder meets them: segments by their
// lengths, entropy-coded data up to the next marker. Stops at the end of
// the image or of the data, or once `mostScans` scans are exceeded. Empty
// when the structure is not one a decoder reads the same way: no start of
// image, bytes between segments, a segment past the end, a second frame,
// a scan before the frame, a frame of a kind other than baseline, extended
// or progressive (Huffman or arithmetic), or no frame or scan at all.
std::optional<JpegFrame> readJpegFrame(std::span<const std::byte> jpeg, std::uint32_t mostScans);

// What a thumbnail's decoder may be given. Photoshop's thumbnails are at
// most 160 pixels on the long side; the bound leaves room for other
// writers. Within it a progressive decode holds at most 1024 x 1024 x 4
// coefficients of 2 bytes (8 MB) and passes over them at most
// `mostThumbnailScans` times.
inline constexpr std::uint32_t largestThumbnailSide = 1024;
inline constexpr std::uint32_t mostThumbnailScans = 64;
inline constexpr std::size_t mostThumbnailBytes = 1024 * 1024;

// Why `thumbnail` is not to be decoded, or empty when it may be: its JPEG is
// larger than the bounds above, cannot be walked, or is not the size its
// resource states.
std::string decodeRefusal(const Thumbnail& thumbnail);

} // namespace hv::psd
