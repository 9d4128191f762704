#pragma once

#include "platform/DocumentFacts.h"

#include "psd/LayerReader.h"

#include <QString>
#include <QStringView>

#include <cstddef>

namespace hv {

// What the layer reader read of a document, kept as it was read while the
// document is open, and turned into Qt values only for the items asked
// about: taking over a document of a million layers costs the window's
// thread nothing.
class DocumentDetails {
public:
    explicit DocumentDetails(psd::Document document);

    std::size_t itemCount() const { return document_.items.size(); }
    // The name of item `item` (counted from 0, top first); `item` must be
    // below itemCount().
    QString itemName(std::size_t item) const;
    // The same, as a view of the document's text.
    QStringView itemNameView(std::size_t item) const;

    DocumentFacts documentFacts() const;
    // The facts of item `item` (counted from 0); none when there is no such
    // item.
    LayerFacts layerFacts(std::size_t item) const;

private:
    psd::Document document_;
};

// "Bitmap", "Grayscale", "Indexed", "RGB", "CMYK", "Multichannel",
// "Duotone", "Lab"; "mode N" for any other number.
QString colourModeName(std::uint16_t mode);

} // namespace hv
