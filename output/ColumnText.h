#pragma once

#include <QString>

#include <vector>

namespace hv {

// Column-aligned text, shared by the text file and the clipboard copy.
// Lengths and widths are counted in UTF-16 code units, as the list reports
// the lengths of its texts.

// Appends `text`, then spaces up to `width` (none when the text is as long
// or longer) and one TAB.
void appendPaddedCell(QString& line, const QString& text, qsizetype width);

// The width of column `column` (counted from 1), or 0 for a column that had
// no width worked out (one added after the widths were taken).
qsizetype widthOfColumn(const std::vector<qsizetype>& widths, int column);

} // namespace hv
