#include "DocumentDetails.h"

#include <iterator>
#include <utility>

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

DocumentDetails::DocumentDetails(psd::Document document) : document_(std::move(document)) {}

QString DocumentDetails::itemName(std::size_t item) const {
    return QString::fromStdU16String(document_.items[item].name);
}

QStringView DocumentDetails::itemNameView(std::size_t item) const {
    return QStringView(document_.items[item].name);
}

DocumentFacts DocumentDetails::documentFacts() const {
    const psd::Header& header = document_.header;
    return DocumentFacts{header.width, header.height, header.depth, colourModeName(header.colorMode)};
}

LayerFacts DocumentDetails::layerFacts(std::size_t item) const {
    const std::vector<psd::LayerItem>& items = document_.items;
    if (item >= items.size()) return {};
    LayerFacts facts;
    facts.kind = kindText(items[item].layerKind);
    facts.visible = items[item].visible;
    // Outermost first; a group chain longer than the items is a loop.
    for (std::size_t at = items[item].group;
         at < items.size() && static_cast<std::size_t>(facts.groupPath.size()) < items.size(); at = items[at].group)
        facts.groupPath.prepend(itemName(at));
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
