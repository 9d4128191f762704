#pragma once

#include "core/ListViewModel.h"

#include <QTreeView>

namespace hv {

// A report view over a ListViewModel: one selected row at a time, a header
// whose dividers widen the columns, optional check boxes.
//
// For keyboard users a list that gains focus other than by the mouse selects
// its current row (the first when none is current), and while it has focus
// it draws a frame and outlines the current row. Screen readers see it as a
// table whose first cells are checkable when the rows have check boxes.
class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(bool checkable, QWidget* parent = nullptr);

    ListViewModel& items() { return model_; }
    const ListViewModel& items() const { return model_; }

    // Column width in twips (15 twips are one pixel at 96 dpi).
    void setColumnWidthTwips(int column, int twips);
    // Position of the selected row, or 0 when no row is selected.
    int selectedIndex() const;
    void selectItem(int row);
    void ensureItemVisible(int row);
    // Row under a point in viewport coordinates, or 0.
    int hitTest(const QPoint& viewportPos) const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void selectCurrentRow();
    void announceChecks(const QModelIndex& first, const QModelIndex& last, const QList<int>& roles);

    ListViewModel model_;
};

} // namespace hv
