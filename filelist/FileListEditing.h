#pragma once

#include <QCursor>
#include <QPoint>

#include <optional>

namespace hv {

class ListView;
class WindowPointer;

// Taking rows out of the file list. Nothing is removed while the window is
// busy (the hourglass shows). `dragRow` is the position of the row that
// carries a dragged path; it follows the rows a removal moves, and a removed
// row leaves it at none (0).
class FileListEditor {
public:
    FileListEditor(ListView& list, const WindowPointer& window, int& dragRow);
    // Delete key and double-click: removes the selected row.
    void removeSelected();
    // "Clear List": removes every row.
    void clear();

private:
    ListView& list_;
    const WindowPointer& window_;
    int& dragRow_;
};

// Moving a path up and down the file list by dragging its row: the dragged
// path swaps places with the path of each row the pointer moves onto.
class RowDrag {
public:
    RowDrag(ListView& list, WindowPointer& window, bool& draggingRows, int& dragRow);

    // A mouse button went down on the list.
    void press();
    // A row was clicked: the list shows the drag pointer (or keeps its own
    // when there is none) and the selected row carries the dragged path.
    void itemClick(const std::optional<QCursor>& dragPointer);
    // The pointer moved to `pos` (in the list's viewport). Near the top or
    // bottom edge of the list the neighbouring row is scrolled into view.
    void move(const QPoint& pos);
    // The button was released.
    void release();

private:
    bool isRow(int row) const;

    ListView& list_;
    WindowPointer& window_;
    bool& draggingRows_;
    int& dragRow_;
};

} // namespace hv
