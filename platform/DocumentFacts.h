#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace hv {

// What a document tells of itself beyond its layers. The defaults say
// "unknown".
struct DocumentFacts {
    std::uint32_t width = 0; // pixels; 0 when unknown
    std::uint32_t height = 0;
    std::uint16_t depth = 0; // bits per channel; 0 when unknown
    QString colourMode;      // "RGB", "CMYK", ...; empty when unknown

    bool operator==(const DocumentFacts&) const = default;
};

// What a document tells of one item of its layer collection beyond its
// name. The defaults say "unknown".
struct LayerFacts {
    QStringList groupPath;       // the groups around the item, outermost first
    QString kind;                // "pixel", "text", "group", ...; empty when unknown
    std::optional<bool> visible; // empty when unknown

    bool known() const { return !kind.isEmpty(); }
    bool operator==(const LayerFacts&) const = default;
};

} // namespace hv
