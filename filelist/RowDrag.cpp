#include "RowDrag.h"

#include "core/ErrorTrap.h"
#include "platform/Failure.h"
#include "widgets/CursorFile.h"
#include "widgets/ListView.h"

#include <QEvent>

#include <optional>

namespace hv {

RowDrag::RowDrag(ListView& list, QString dragPointerFile)
    : QObject(&list),
      list_(list),
      dragPointerFile_(std::move(dragPointerFile)) {
    list_.viewport()->installEventFilter(this);
    connect(&list_, &QAbstractItemView::pressed, this, [this] { withoutErrorTrap([this] { itemClick(); }); });
    ListViewModel& items = list_.items();
    connect(&items, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { rowsRemoved(first + 1, last + 1); });
    connect(&items, &QAbstractItemModel::modelReset, this, [this] { dragRow_ = 0; });
}

bool RowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        dragging_ = true;
    else if (event->type() == QEvent::MouseButtonRelease)
        release();
    return QObject::eventFilter(watched, event);
}

bool RowDrag::isRow(int row) const {
    return row >= 1 && row <= list_.items().itemCount();
}

void RowDrag::itemClick() {
    std::optional<QCursor> dragPointer;
    try {
        dragPointer = loadCursorFile(dragPointerFile_);
    } catch (const Failure&) {
        // Without the picture the list keeps the pointer it shows.
    }
    if (dragPointer) list_.viewport()->setCursor(*dragPointer);
    // Dragging a row never starts a drag out of the list.
    list_.setDragEnabled(false);
    dragRow_ = list_.selectedIndex();
}

void RowDrag::mouseMove(const QPoint& pos) {
    withoutErrorTrap([&] {
        if (!dragging_) return;
        const int over = list_.hitTest(pos);
        if (over == 0 || !isRow(dragRow_) || !swapOnto(over)) return;
        const ListViewModel& items = list_.items();
        const int edge = list_.visualRect(items.index(over - 1, 0)).height();
        if (pos.y() < edge && over > 1)
            list_.ensureItemVisible(over - 1);
        else if (pos.y() > list_.viewport()->height() - edge && over < items.itemCount())
            list_.ensureItemVisible(over + 1);
    });
}

void RowDrag::moveSelected(int step) {
    withoutErrorTrap([&] {
        const int from = list_.selectedIndex();
        if (!isRow(from) || !isRow(from + step)) return;
        dragRow_ = from;
        if (swapOnto(from + step)) list_.ensureItemVisible(from + step);
    });
}

// Swaps the dragged path with the path of row `over`; false when both are
// the same path and nothing moved.
bool RowDrag::swapOnto(int over) {
    ListViewModel& items = list_.items();
    const QString dragged = items.itemText(dragRow_);
    const QString target = items.itemText(over);
    if (dragged == target) return false;

    items.setItemText(dragRow_, 1, target);
    items.setItemText(over, 1, dragged);
    list_.selectItem(over);
    dragRow_ = over;
    return true;
}

void RowDrag::release() {
    dragging_ = false;
    list_.viewport()->setCursor(Qt::ArrowCursor);
}

void RowDrag::rowsRemoved(int first, int last) {
    if (dragRow_ >= first && dragRow_ <= last)
        dragRow_ = 0;
    else if (dragRow_ > last)
        dragRow_ -= last - first + 1;
}

} // namespace hv
