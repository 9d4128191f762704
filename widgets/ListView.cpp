#include "ListView.h"

#include "Twips.h"
#include "platform/Failure.h"

#include <QHeaderView>

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
