#include "DocumentDetails.h"

#include <iterator>

namespace hv {

namespace {

// One text per kind, shared by every row that shows it.
QString kindText(psd::LayerKind kind) {
    static const QString texts[] = {
        QString::fromLatin1(psd::kindName(psd::LayerKind::Group)),
        QString::fromLatin1(psd::kindName(psd::LayerKind::Pixel)),
        QString::fromLatin1(psd::kindName(psd::LayerKind::Text)),
        QString::fromLatin1(psd::kindName(psd::LayerKind::SmartObject)),
        QString::fromLatin1(psd::kindName(psd::LayerKind::Shape)),
        QString::fromLatin1(psd::kindName(psd::LayerKind::Fill)),
        QString::fromLatin1(psd::kindName(psd::LayerKind::Adjustment)),
    };
    const auto at = static_cast<std::size_t>(kind);
    return at < std::size(texts) ? texts[at] : QString::fromLatin1(psd::kindName(kind));
}

} // namespace

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
    facts.kind = kindText(items_[item].kind);
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
