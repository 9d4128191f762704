#include "ListClipboardCopy.h"

#include "ClipboardRetry.h"
#include "ColumnText.h"
#include "core/ListViewModel.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"

#include <algorithm>

namespace hv {

ListClipboardCopy::ListClipboardCopy(const ListViewModel& list, Clipboard& clipboard, EventPump& events)
    : list_(list),
      clipboard_(clipboard),
      events_(events) {}

void ListClipboardCopy::copy() {
    if (list_.itemCount() == 0) return;
    const std::vector<qsizetype> widths = columnWidths();
    const QString text = checkedRowsText(widths);
    ClearClipboard(clipboard_);
    // A clipboard that refused every attempt is reported, so that the
    // confirmation that follows is never the only word on it.
    if (!SetClipboardText(clipboard_, text)) throw Failure(QStringLiteral("The clipboard did not take the results."));
}

std::vector<qsizetype> ListClipboardCopy::columnWidths() {
    std::vector<qsizetype> widths;
    const int columns = list_.headerCount();
    for (int c = 1; c <= columns; ++c) {
        qsizetype width = 0;
        for (int r = 1; r <= list_.itemCount(); ++r) {
            events_.processEvents();
            width = std::max(width, list_.itemText(r, c).size());
        }
        widths.push_back(width);
    }
    return widths;
}

QString ListClipboardCopy::checkedRowsText(const std::vector<qsizetype>& widths) {
    QString text;
    for (int i = 1; i <= list_.itemCount(); ++i) {
        events_.processEvents();
        if (!list_.isChecked(i)) continue;
        const int columns = list_.headerCount();
        for (int c = 1; c <= columns; ++c) {
            events_.processEvents();
            appendPaddedCell(text, list_.itemText(i, c), widthOfColumn(widths, c));
        }
        // The last cell's TAB goes, then every trailing space: the last cell
        // keeps no padding and a layer name loses the spaces it ends in.
        if (columns > 0) text.chop(1);
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) --end;
        text.truncate(end);
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace hv
