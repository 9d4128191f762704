#include "RowToolTips.h"

#include "core/ListViewModel.h"
#include "platform/DocumentThumbnails.h"
#include "platform/Failure.h"
#include "widgets/ListView.h"

#include <QHelpEvent>
#include <QToolTip>

namespace hv {

namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString pictureTag(const DocumentPicture& picture) {
    return QStringLiteral("<img src=\"data:image/png;base64,%1\" width=\"%2\" height=\"%3\">")
        .arg(QString::fromLatin1(picture.png.toBase64()))
        .arg(picture.width)
        .arg(picture.height);
}

// Lines already escaped; blanks and line breaks in names show as they are.
QString block(const QStringList& lines) {
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + lines.join(QStringLiteral("<br>"))
           + QStringLiteral("</p>");
}

QString tip(const std::optional<DocumentPicture>& picture, const QStringList& lines, const QString& hint) {
    QString text = QStringLiteral("<html><body>");
    if (picture) text += QStringLiteral("<p>") + pictureTag(*picture) + QStringLiteral("</p>");
    text += block(lines) + block({escaped(hint)});
    return text + QStringLiteral("</body></html>");
}

QString layerLine(const LayerFacts& layer) {
    QString line = QStringLiteral("Kind: ") + escaped(layer.kind);
    if (layer.visible) line += *layer.visible ? QStringLiteral(", visible") : QStringLiteral(", hidden");
    return line;
}

QString groupLine(const LayerFacts& layer) {
    if (layer.groupPath.isEmpty()) return QStringLiteral("Group: none");
    QStringList names;
    for (const QString& name : layer.groupPath) names << escaped(name);
    return QStringLiteral("Group: ") + names.join(QStringLiteral(" \u203a "));
}

QString documentLine(const DocumentFacts& document) {
    QString line = QStringLiteral("Document: %1 \u00d7 %2 pixels").arg(document.width).arg(document.height);
    if (document.depth > 0) line += QStringLiteral(", %1 bits per channel").arg(document.depth);
    if (!document.colourMode.isEmpty()) line += QStringLiteral(", ") + escaped(document.colourMode);
    return line;
}

} // namespace

RowToolTips::RowToolTips(ListView& files, ListView& results, DocumentThumbnails& thumbnails)
    : files_(files),
      results_(results),
      thumbnails_(thumbnails) {
    thumbnails_.setArrived([this](const QString& path) { arrived(path); });
}

RowToolTips::~RowToolTips() {
    thumbnails_.setArrived({});
}

QString RowToolTips::fileRowText(int row) const {
    return tip(std::nullopt, {escaped(files_.items().itemText(row))}, files_.toolTip());
}

QString RowToolTips::resultRowText(int row) const {
    const ListViewModel& items = results_.items();
    const QString path = items.itemText(row, 1);
    const RowFacts facts = items.itemFacts(row);
    QStringList lines{escaped(path)};
    if (facts.layer.known()) lines << groupLine(facts.layer) << layerLine(facts.layer);
    if (facts.document.width > 0 && facts.document.height > 0) lines << documentLine(facts.document);
    return tip(thumbnails_.picture(path), lines, results_.toolTip());
}

bool RowToolTips::show(ListView& list, const QHelpEvent& event) {
    const int row = list.hitTest(event.pos());
    if (row == 0) return false;
    const bool result = &list == &results_;
    QString path;
    QString text;
    try {
        path = list.items().itemText(row);
        text = result ? resultRowText(row) : fileRowText(row);
    } catch (const Failure&) {
        return false; // a row gone meanwhile: the list's hint
    }
    const QRect cell = list.visualRect(list.model()->index(row - 1, 0));
    const QRect rect(0, cell.top(), list.viewport()->width(), cell.height());
    QToolTip::showText(event.globalPos(), text, list.viewport(), rect);
    if (!result) return true;
    shown_ = Shown{row, path, text, event.globalPos(), rect};
    if (!thumbnails_.picture(path)) thumbnails_.request(path);
    return true;
}

void RowToolTips::arrived(const QString& path) {
    // Only a tip still up, over the same row of the same document, changes.
    if (shown_.row == 0 || shown_.path != path || !QToolTip::isVisible() || QToolTip::text() != shown_.text) return;
    if (!thumbnails_.picture(path)) return;
    const ListViewModel& items = results_.items();
    if (shown_.row > items.itemCount() || items.itemText(shown_.row) != path) return;
    shown_.text = resultRowText(shown_.row);
    QToolTip::showText(shown_.globalPos, shown_.text, results_.viewport(), shown_.rect);
}

} // namespace hv
