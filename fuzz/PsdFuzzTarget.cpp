// libFuzzer entry point for the PSD/PSB layer reader. Besides crashes and
// sanitizer reports it catches two quiet faults: a windowed (cached) read
// that disagrees with a direct one, and a failure offset outside the file.

#include "psd/ByteSource.h"
#include "psd/LayerReader.h"
#include "psd/Text.h"

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
        if (x[i].name != y[i].name || x[i].kind != y[i].kind || x[i].depth != y[i].depth) return false;
    }
    return true;
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
        std::size_t nameBytes = 0;
        for (const auto& item : direct.document().items) {
            if (item.depth > direct.document().items.size()) std::abort();
            nameBytes += hv::psd::toUtf8(item.name).size();
        }
        // Names come from the file, at most 3 UTF-8 bytes per 2 bytes read.
        if (nameBytes > size * 2) std::abort();
    } else if (direct.error().offset > size || direct.error().message.empty()) {
        std::abort();
    }
    return 0;
}
