#pragma once

#include <QString>

#include <vector>

namespace hv {

class Clipboard;
class EventPump;
class ListViewModel;

// CopyListviewToClipboard of module Main: puts the checked rows of a list on
// the clipboard as plain text. One line per checked row, no header; every
// cell but the last is padded with spaces to its column's width (the longest
// cell of the column, checked or not, headers not counted) and followed by a
// TAB; trailing spaces of a line are removed; every line ends with CR LF.
//
// The list is read afresh at every step, with window events running between
// rows and cells. A row that cannot be read (removed meanwhile) ends the copy
// with hv::Failure before the clipboard is touched.
class ListClipboardCopy {
public:
    ListClipboardCopy(const ListViewModel& list, Clipboard& clipboard, EventPump& events);

    // Does nothing when the list has no rows.
    void copy();

private:
    std::vector<qsizetype> columnWidths();
    QString checkedRowsText(const std::vector<qsizetype>& widths);

    const ListViewModel& list_;
    Clipboard& clipboard_;
    EventPump& events_;
};

} // namespace hv
