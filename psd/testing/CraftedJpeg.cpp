#include "psd/testing/CraftedJpeg.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace hv::psd::testing {

namespace {

// The last place `marker` follows 0xFF. Inside entropy-coded data 0xFF is
// followed only by 0x00 or a restart marker, so the pair is a real marker.
std::size_t lastMarker(const std::vector<std::byte>& jpeg, std::uint8_t marker) {
    const std::array pair{std::byte{0xFF}, std::byte{marker}};
    const auto found = std::find_end(jpeg.begin(), jpeg.end(), pair.begin(), pair.end());
    if (found == jpeg.end()) throw std::invalid_argument("the JPEG holds no such marker");
    return static_cast<std::size_t>(found - jpeg.begin());
}

} // namespace

std::vector<std::byte> withFrameSize(std::vector<std::byte> jpeg, std::uint16_t width, std::uint16_t height) {
    const auto at = [&](std::size_t i) { return std::to_integer<std::size_t>(jpeg[i]); };
    // Segment by segment from the start of image to the frame header.
    std::size_t pos = 2;
    while (pos + 9 <= jpeg.size() && (at(pos + 1) < 0xC0 || at(pos + 1) > 0xC2))
        pos += 2 + (at(pos + 2) << 8 | at(pos + 3));
    if (pos + 9 > jpeg.size()) throw std::invalid_argument("the JPEG holds no frame header");
    // Marker, length, precision, then height and width.
    jpeg[pos + 5] = std::byte(height >> 8);
    jpeg[pos + 6] = std::byte(height & 0xFF);
    jpeg[pos + 7] = std::byte(width >> 8);
    jpeg[pos + 8] = std::byte(width & 0xFF);
    return jpeg;
}

std::vector<std::byte> withLastScanRepeated(const std::vector<std::byte>& jpeg, int times) {
    const std::size_t scan = lastMarker(jpeg, 0xDA);
    const std::size_t end = lastMarker(jpeg, 0xD9);
    std::vector<std::byte> out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(scan),
                   jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(end), jpeg.end());
    return out;
}

} // namespace hv::psd::testing
