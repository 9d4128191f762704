#include "psd/ThumbnailBudget.h"

namespace hv::psd {

namespace {

constexpr std::uint8_t markerSoi = 0xD8;
constexpr std::uint8_t markerEoi = 0xD9;
constexpr std::uint8_t markerSos = 0xDA;
constexpr std::uint8_t markerTem = 0x01;

bool isRestart(std::uint8_t marker) {
    return marker >= 0xD0 && marker <= 0xD7;
}

// Start-of-frame markers are 0xC0 to 0xCF but for the table markers DHT,
// JPG and DAC among them.
bool isFrame(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Baseline, extended and progressive frames, Huffman or arithmetic coded:
// the ones a common decoder reads. Lossless and hierarchical ones are not.
bool isReadableFrame(std::uint8_t marker) {
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

class MarkerWalk {
public:
    explicit MarkerWalk(std::span<const std::byte> jpeg) : data_(jpeg) {}

    std::uint8_t at(std::size_t pos) const { return std::to_integer<std::uint8_t>(data_[pos]); }
    std::uint32_t u16(std::size_t pos) const { return std::uint32_t{at(pos)} << 8 | at(pos + 1); }
    bool done() const { return pos_ >= data_.size(); }

    // The next marker, past any fill bytes; 0 when bytes other than a
    // marker come first.
    std::uint8_t nextMarker() {
        if (at(pos_) != 0xFF) return 0;
        while (pos_ < data_.size() && at(pos_) == 0xFF) ++pos_;
        return pos_ < data_.size() ? at(pos_++) : 0;
    }

    // The segment's bytes after its length, or nothing when its length is
    // not inside the data; the walk moves past it.
    std::optional<std::span<const std::byte>> segment() {
        if (data_.size() - pos_ < 2) return std::nullopt;
        const std::uint32_t length = u16(pos_);
        if (length < 2 || length > data_.size() - pos_) return std::nullopt;
        const auto body = data_.subspan(pos_ + 2, length - 2);
        pos_ += length;
        return body;
    }

    // Moves past entropy-coded data: to the next marker other than a
    // restart, a stuffed 0xFF 0x00 being data.
    void skipEntropyData() {
        while (pos_ < data_.size()) {
            if (at(pos_) != 0xFF) {
                ++pos_;
                continue;
            }
            std::size_t next = pos_ + 1;
            while (next < data_.size() && at(next) == 0xFF) ++next;
            if (next < data_.size() && (at(next) == 0 || isRestart(at(next)))) {
                pos_ = next + 1;
                continue;
            }
            pos_ = next < data_.size() ? next - 1 : next;
            return;
        }
    }

private:
    std::span<const std::byte> data_;
    std::size_t pos_ = 2;
};

bool readFrameHeader(std::span<const std::byte> body, JpegFrame& frame) {
    if (body.size() < 6) return false;
    const auto at = [&](std::size_t i) { return std::to_integer<std::uint32_t>(body[i]); };
    frame.precision = at(0);
    frame.height = at(1) << 8 | at(2);
    frame.width = at(3) << 8 | at(4);
    frame.components = at(5);
    return body.size() >= 6 + 3 * std::size_t{frame.components};
}

} // namespace

std::optional<JpegFrame> readJpegFrame(std::span<const std::byte> jpeg, std::uint32_t mostScans) {
    if (jpeg.size() < 4 || jpeg[0] != std::byte{0xFF} || jpeg[1] != std::byte{markerSoi}) return std::nullopt;
    MarkerWalk walk(jpeg);
    JpegFrame frame;
    bool framed = false;
    while (!walk.done() && frame.scans <= mostScans) {
        const std::uint8_t marker = walk.nextMarker();
        if (marker == markerEoi) break;
        if (isRestart(marker) || marker == markerTem) continue;
        if (marker == 0 || marker == markerSoi) return std::nullopt;
        const auto body = walk.segment();
        if (!body) return std::nullopt;
        if (isFrame(marker)) {
            if (framed || !isReadableFrame(marker) || !readFrameHeader(*body, frame)) return std::nullopt;
            framed = true;
        } else if (marker == markerSos) {
            if (!framed) return std::nullopt;
            ++frame.scans;
            walk.skipEntropyData();
        }
    }
    if (!framed || frame.scans == 0) return std::nullopt;
    return frame;
}

std::string decodeRefusal(const Thumbnail& thumbnail) {
    if (thumbnail.jpeg.size() > mostThumbnailBytes)
        return "its JPEG data is " + std::to_string(thumbnail.jpeg.size()) + " bytes long";
    const std::optional<JpegFrame> frame = readJpegFrame(thumbnail.jpeg, mostThumbnailScans);
    if (!frame) return "its JPEG markers do not make an image";
    const std::string size = std::to_string(frame->width) + " x " + std::to_string(frame->height);
    if (frame->width == 0 || frame->height == 0 || frame->width > largestThumbnailSide
        || frame->height > largestThumbnailSide)
        return "its JPEG is " + size + " pixels";
    if (frame->width != thumbnail.width || frame->height != thumbnail.height)
        return "its JPEG is " + size + " pixels, its resource states " + std::to_string(thumbnail.width) + " x "
               + std::to_string(thumbnail.height);
    if (frame->scans > mostThumbnailScans)
        return "its JPEG has more than " + std::to_string(mostThumbnailScans) + " scans";
    if (frame->precision != 8 || frame->components == 0 || frame->components > 4)
        return "its JPEG has " + std::to_string(frame->components) + " components of "
               + std::to_string(frame->precision) + " bits";
    return {};
}

} // namespace hv::psd
