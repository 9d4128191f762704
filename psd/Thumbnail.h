#pragma once

#include "psd/ByteSource.h"
#include "psd/LayerReader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace hv::psd {

// The preview image a document carries in its image resources, as JPEG.
struct Thumbnail {
    std::vector<std::byte> jpeg;
    // The old form (resource 1033) stores blue, green, red: swap red and
    // blue after decoding.
    bool swapRedAndBlue = false;
    std::uint32_t width = 0; // as the resource states them
    std::uint32_t height = 0;
};

class ThumbnailResult {
public:
    ThumbnailResult() = default; // the document carries none
    ThumbnailResult(Thumbnail thumbnail) : value_(std::move(thumbnail)) {}
    ThumbnailResult(ReadError error) : value_(std::move(error)) {}

    bool found() const { return std::holds_alternative<Thumbnail>(value_); }
    bool failed() const { return std::holds_alternative<ReadError>(value_); }
    const Thumbnail& thumbnail() const { return std::get<Thumbnail>(value_); }
    const ReadError& error() const { return std::get<ReadError>(value_); }

private:
    std::variant<std::monostate, Thumbnail, ReadError> value_;
};

// Reads the thumbnail of the PSD or PSB document at `path`: only the header
// and the image resources are read. Resource 1036 is preferred to 1033.
ThumbnailResult readThumbnail(const std::string& path);
ThumbnailResult readThumbnail(std::span<const std::byte> data);
ThumbnailResult readThumbnail(ByteSource& source);

} // namespace hv::psd
