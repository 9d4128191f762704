// libFuzzer entry point for the PSD/PSB layer reader and the thumbnail
// reader. Besides crashes and sanitizer reports it catches quiet faults: a
// windowed (cached) read that disagrees with a direct one, a failure offset
// outside the file, a group that is not an earlier group item. The JPEG
// marker walk that guards the thumbnail decoder runs on every input too.

#include "psd/ByteSource.h"
#include "psd/LayerReader.h"
#include "psd/Text.h"
#include "psd/Thumbnail.h"
#include "psd/ThumbnailBudget.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

bool sameResult(const hv::psd::ReadResult& a, const hv::psd::ReadResult& b) {
    if (a.ok() != b.ok()) return false;
    if (!a.ok()) return a.error().offset == b.error().offset && a.error().message == b.error().message;
    const auto& x = a.document().items;
    const auto& y = b.document().items;
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i].name != y[i].name || x[i].kind != y[i].kind || x[i].depth != y[i].depth
            || x[i].layerKind != y[i].layerKind || x[i].visible != y[i].visible || x[i].group != y[i].group
            || x[i].text != y[i].text || x[i].detailError != y[i].detailError)
            return false;
    }
    return true;
}

bool sameThumbnail(const hv::psd::ThumbnailResult& a, const hv::psd::ThumbnailResult& b) {
    if (a.found() != b.found() || a.failed() != b.failed()) return false;
    if (a.failed()) return a.error().offset == b.error().offset && a.error().message == b.error().message;
    return !a.found()
           || (a.thumbnail().jpeg == b.thumbnail().jpeg
               && a.thumbnail().swapRedAndBlue == b.thumbnail().swapRedAndBlue);
}

void checkThumbnail(std::span<const std::byte> bytes) {
    const hv::psd::ThumbnailResult direct = hv::psd::readThumbnail(bytes);
    hv::psd::MemorySource memory(bytes);
    hv::psd::WindowedSource windowed(memory, hv::psd::WindowPlan{5, 3, 64});
    if (!sameThumbnail(direct, hv::psd::readThumbnail(windowed))) std::abort();
    if (direct.failed() && (direct.error().offset > bytes.size() || direct.error().message.empty())) std::abort();
    if (direct.found() && direct.thumbnail().jpeg.size() > bytes.size()) std::abort();
    if (direct.found()) hv::psd::decodeRefusal(direct.thumbnail());
    const auto frame = hv::psd::readJpegFrame(bytes, hv::psd::mostThumbnailScans);
    if (frame && (frame->scans == 0 || frame->scans > hv::psd::mostThumbnailScans + 1)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    const hv::psd::ReadResult direct = hv::psd::readLayerItems(bytes);

    // A tiny odd-sized window makes every field straddle refills.
    hv::psd::MemorySource memory(bytes);
    hv::psd::WindowedSource windowed(memory, 7);
    const hv::psd::ReadResult cached = hv::psd::readLayerItems(windowed);
    if (!sameResult(direct, cached)) std::abort();

    if (direct.ok()) {
        const auto& items = direct.document().items;
        std::size_t nameBytes = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto& item = items[i];
            if (item.depth > items.size()) std::abort();
            if (item.group != item.noGroup
                && (item.group >= i || items[item.group].layerKind != hv::psd::LayerKind::Group))
                std::abort();
            if (direct.document().groupPath(i).size() != item.depth) std::abort();
            nameBytes += hv::psd::toUtf8(item.name).size() + hv::psd::toUtf8(item.text).size();
        }
        // Names and texts come from the file: a Windows-1252 byte such as
        // 0x80 becomes 3 UTF-8 bytes, a UTF-16 unit at most 3 per 2 bytes.
        if (nameBytes > size * 3) std::abort();
    } else if (direct.error().offset > size || direct.error().message.empty()) {
        std::abort();
    }
    checkThumbnail(bytes);
    return 0;
}
