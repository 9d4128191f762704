#include "ColumnText.h"

namespace hv {

void appendPaddedCell(QString& line, const QString& text, qsizetype width) {
    line += text;
    if (width > text.size()) line += QString(width - text.size(), QLatin1Char(' '));
    line += QLatin1Char('\t');
}

qsizetype widthOfColumn(const std::vector<qsizetype>& widths, int column) {
    if (column < 1 || static_cast<size_t>(column) > widths.size()) return 0;
    return widths[static_cast<size_t>(column - 1)];
}

} // namespace hv
