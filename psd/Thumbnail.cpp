#include "psd/Thumbnail.h"

#include "psd/detail/FileHeader.h"
#include "psd/detail/SectionCursor.h"

#include <optional>

namespace hv::psd {

namespace {

using namespace detail;

constexpr std::uint16_t thumbnailId = 1036;
constexpr std::uint16_t oldThumbnailId = 1033; // blue, green, red
constexpr std::uint32_t jpegFormat = 1;
constexpr std::uint64_t thumbnailHeader = 28;
// Photoshop's thumbnails are at most 160 pixels wide; anything this large is
// not one.
constexpr std::uint64_t largestThumbnail = 16 * 1024 * 1024;

struct Found {
    std::uint64_t at = 0; // the resource's data
    std::uint64_t size = 0;
    std::uint16_t id = 0;
};

// Walks the image resources for the first thumbnail of the newer form, or
// else the first of the older one.
std::optional<Found> findThumbnail(SectionCursor& resources) {
    std::optional<Found> best;
    while (resources.remaining() >= 12 && !resources.failed()) {
        const std::uint64_t at = resources.position();
        resources.readTag("resource signature");
        const std::uint16_t id = resources.u16("resource id");
        const std::uint8_t nameLength = resources.u8("resource name length");
        resources.skip(nameLength + (nameLength % 2 == 0 ? 1u : 0u), "resource name");
        SectionCursor data = resources.takeLengthPrefixed(false, "image resource " + std::to_string(id));
        if (resources.failed()) {
            resources.context().amend(" (the resource at byte " + std::to_string(at) + ")");
            return std::nullopt;
        }
        // Data is padded to an even length.
        if (data.remaining() % 2 != 0 && resources.remaining() > 0) resources.skip(1, "resource padding");
        if (id == thumbnailId) return Found{data.position(), data.remaining(), id};
        if (id == oldThumbnailId && !best) best = Found{data.position(), data.remaining(), id};
    }
    return best;
}

ThumbnailResult readFound(ParseContext& context, const Found& found) {
    SectionCursor data(context, found.at, found.at + found.size, "thumbnail resource");
    const std::uint32_t format = data.u32("thumbnail format");
    Thumbnail thumbnail;
    thumbnail.width = data.u32("thumbnail width");
    thumbnail.height = data.u32("thumbnail height");
    data.skip(8, "thumbnail row and total sizes");
    const std::uint64_t sizeAt = data.position();
    const std::uint32_t size = data.u32("compressed thumbnail size");
    data.skip(4, "thumbnail bits and planes");
    if (context.failed()) return context.error();
    const std::string where =
        "the thumbnail (resource " + std::to_string(found.id) + ") at byte " + std::to_string(found.at) + " ";
    if (format != jpegFormat)
        return ReadError{found.at, where + "is stored in format " + std::to_string(format) + ", not as JPEG"};
    if (size > data.remaining() || size > largestThumbnail)
        return ReadError{sizeAt, where + "claims " + std::to_string(size)
                                     + " bytes of JPEG data, but its resource holds "
                                     + std::to_string(data.remaining())};
    thumbnail.jpeg.resize(size);
    data.read(thumbnail.jpeg, "thumbnail JPEG data");
    if (context.failed()) return context.error();
    if (size < 2 || thumbnail.jpeg[0] != std::byte{0xFF} || thumbnail.jpeg[1] != std::byte{0xD8})
        return ReadError{found.at + thumbnailHeader, where + "does not hold JPEG data"};
    thumbnail.swapRedAndBlue = found.id == oldThumbnailId;
    return thumbnail;
}

} // namespace

ThumbnailResult readThumbnail(ByteSource& source) {
    ParseContext context(source);
    SectionCursor file(context, 0, context.fileSize(), "file");
    readFileHeader(file);
    if (context.failed()) return context.error();
    file.takeLengthPrefixed(false, "colour mode data");
    SectionCursor resources = file.takeLengthPrefixed(false, "image resources");
    const std::optional<Found> found = findThumbnail(resources);
    if (context.failed()) return context.error();
    if (!found) return {};
    return readFound(context, *found);
}

ThumbnailResult readThumbnail(std::span<const std::byte> data) {
    MemorySource source(data);
    return readThumbnail(source);
}

ThumbnailResult readThumbnail(const std::string& path) {
    std::string why;
    auto file = FileSource::open(path, why);
    if (!file) return ReadError{0, why};
    WindowedSource windowed(*file, documentPlan);
    return readThumbnail(windowed);
}

} // namespace hv::psd
