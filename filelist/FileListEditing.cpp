#include "FileListEditing.h"

#include "widgets/ListView.h"
#include "platform/WindowPointer.h"

namespace hv {

FileListEditor::FileListEditor(ListView& list, const WindowPointer& window, int& dragRow)
    : list_(list),
      window_(window),
      dragRow_(dragRow) {}

void FileListEditor::removeSelected() {
    if (window_.busy()) return;
    if (list_.items().itemCount() == 0) return;
    const int row = list_.selectedIndex();
    if (row == 0) return;
    list_.items().removeItem(row);
    if (dragRow_ == row)
        dragRow_ = 0;
    else if (dragRow_ > row)
        --dragRow_;
}

void FileListEditor::clear() {
    if (window_.busy()) return;
    list_.items().clearItems();
    dragRow_ = 0;
}

RowDrag::RowDrag(ListView& list, WindowPointer& window, bool& draggingRows, int& dragRow)
    : list_(list),
      window_(window),
      draggingRows_(draggingRows),
      dragRow_(dragRow) {}

bool RowDrag::isRow(int row) const {
    return row >= 1 && row <= list_.items().itemCount();
}

void RowDrag::press() {
    draggingRows_ = true;
}

void RowDrag::itemClick(const std::optional<QCursor>& dragPointer) {
    if (dragPointer) list_.viewport()->setCursor(*dragPointer);
    // Dragging a row never starts a drag out of the list.
    list_.setDragEnabled(false);
    dragRow_ = list_.selectedIndex();
}

void RowDrag::move(const QPoint& pos) {
    if (!window_.busy()) window_.setPointer(Pointer::Default);
    if (!draggingRows_) return;
    const int over = list_.hitTest(pos);
    if (over == 0 || !isRow(dragRow_)) return;
    ListViewModel& items = list_.items();
    const QString dragged = items.itemText(dragRow_);
    const QString target = items.itemText(over);
    if (dragged == target) return;

    items.setItemText(dragRow_, 1, target);
    items.setItemText(over, 1, dragged);
    list_.selectItem(over);
    dragRow_ = over;

    const int edge = list_.visualRect(items.index(over - 1, 0)).height();
    if (pos.y() < edge && over > 1)
        list_.ensureItemVisible(over - 1);
    else if (pos.y() > list_.viewport()->height() - edge && over < items.itemCount())
        list_.ensureItemVisible(over + 1);
}

void RowDrag::release() {
    draggingRows_ = false;
    list_.viewport()->setCursor(Qt::ArrowCursor);
}

} // namespace hv
