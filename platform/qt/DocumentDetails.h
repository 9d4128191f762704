#pragma once

#include "platform/DocumentFacts.h"

#include "psd/LayerReader.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace hv {

// What the layer reader read of a document beyond the item names, kept
// while the document is open: a few bytes per item, turned into facts only
// for the items asked about.
class DocumentDetails {
public:
    explicit DocumentDetails(const psd::Document& document);

    DocumentFacts documentFacts() const;
    // The facts of item `item` (counted from 0); `names` are the names of
    // every item, top first, as the reader gave them.
    LayerFacts layerFacts(std::size_t item, const std::vector<QString>& names) const;

private:
    struct Item {
        std::size_t group = psd::LayerItem::noGroup;
        psd::LayerKind kind = psd::LayerKind::Pixel;
        bool visible = true;
    };
    psd::Header header_;
    std::vector<Item> items_;
};

// "Bitmap", "Grayscale", "Indexed", "RGB", "CMYK", "Multichannel",
// "Duotone", "Lab"; "mode N" for any other number.
QString colourModeName(std::uint16_t mode);

} // namespace hv
