#include "DocumentDetails.h"

namespace hv {

DocumentDetails::DocumentDetails(const psd::Document& document) : header_(document.header) {
    items_.reserve(document.items.size());
    for (const psd::LayerItem& item : document.items) items_.push_back({item.group, item.layerKind, item.visible});
}

DocumentFacts DocumentDetails::documentFacts() const {
    return DocumentFacts{header_.width, header_.height, header_.depth, colourModeName(header_.colorMode)};
}

LayerFacts DocumentDetails::layerFacts(std::size_t item, const std::vector<QString>& names) const {
    if (item >= items_.size() || names.size() != items_.size()) return {};
    LayerFacts facts;
    facts.kind = QString::fromLatin1(psd::kindName(items_[item].kind));
    facts.visible = items_[item].visible;
    // Outermost first; a group chain longer than the items is a loop.
    for (std::size_t at = items_[item].group;
         at < items_.size() && static_cast<std::size_t>(facts.groupPath.size()) < names.size(); at = items_[at].group)
        facts.groupPath.prepend(names[at]);
    return facts;
}

QString colourModeName(std::uint16_t mode) {
    switch (mode) {
    case 0: return QStringLiteral("Bitmap");
    case 1: return QStringLiteral("Grayscale");
    case 2: return QStringLiteral("Indexed");
    case 3: return QStringLiteral("RGB");
    case 4: return QStringLiteral("CMYK");
    case 7: return QStringLiteral("Multichannel");
    case 8: return QStringLiteral("Duotone");
    case 9: return QStringLiteral("Lab");
    default: return QStringLiteral("mode %1").arg(mode);
    }
}

} // namespace hv
