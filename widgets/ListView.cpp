#include "ListView.h"

#include "AccessibleEvents.h"
#include "Contrast.h"
#include "ListViewAccessible.h"
#include "Twips.h"
#include "platform/Failure.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPainter>

namespace hv {

namespace {
const char* const kOutOfBounds = "Index out of bounds";
} // namespace

ListView::ListView(bool checkable, QWidget* parent) : QTreeView(parent), model_(checkable) {
    setModel(&model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    installListViewAccessible();
    connect(&model_, &QAbstractItemModel::dataChanged, this, &ListView::announceChecks);
}

void ListView::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::PopupFocusReason) selectCurrentRow();
    viewport()->update();
}

void ListView::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void ListView::selectCurrentRow() {
    model_.flush();
    if (model_.rowCount() == 0 || selectionModel()->hasSelection()) return;
    QModelIndex current = currentIndex();
    if (!current.isValid()) current = model_.index(0, 0);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(viewport());
    // The frame in the selection colour, or in the text colour where that
    // colour hardly stands out from the list.
    QColor frame = palette().color(QPalette::Highlight);
    if (contrastRatio(frame, palette().color(QPalette::Base)) < 3) frame = palette().color(QPalette::Text);
    QPen pen(frame, 2);
    painter.setPen(pen);
    painter.drawRect(QRectF(viewport()->rect()).adjusted(1, 1, -1, -1));
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    // The current row's outline in the text colour, which reads on the list.
    QRect row = visualRect(current.siblingAtColumn(0));
    row.setLeft(0);
    row.setRight(viewport()->width() - 1);
    pen.setColor(palette().color(QPalette::Text));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(QRectF(row).adjusted(3, 1, -3, -1));
}

// A tick set or cleared reaches screen readers as a change of the row's
// first cell.
void ListView::announceChecks(const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
    if (!roles.contains(Qt::CheckStateRole) || !accessibleEventsWanted()) return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = list ? list->tableInterface() : nullptr;
    if (!table) return;
    QAccessible::State changed;
    changed.checked = true;
    for (int row = first.row(); row <= last.row(); ++row) {
        if (QAccessibleInterface* cell = table->cellAt(row, 0)) {
            QAccessibleStateChangeEvent event(cell, changed);
            sendAccessibleEvent(event);
        }
    }
}

void ListView::setColumnWidthTwips(int column, int twips) {
    setColumnWidth(column - 1, twipsToPixels(twips, this));
}

int ListView::selectedIndex() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void ListView::selectItem(int row) {
    model_.flush();
    if (row < 1 || row > model_.rowCount()) throw Failure(kOutOfBounds);
    const QModelIndex at = model_.index(row - 1, 0);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::ensureItemVisible(int row) {
    model_.flush();
    if (row < 1 || row > model_.rowCount()) throw Failure(kOutOfBounds);
    scrollTo(model_.index(row - 1, 0));
}

int ListView::hitTest(const QPoint& viewportPos) const {
    const QModelIndex at = indexAt(viewportPos);
    return at.isValid() ? at.row() + 1 : 0;
}

} // namespace hv
