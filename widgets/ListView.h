#pragma once

#include "core/ListViewModel.h"

#include <QTreeView>

namespace hv {

// A report view over a ListViewModel: one selected row at a time, a header
// whose dividers widen the columns, optional check boxes.
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

private:
    ListViewModel model_;
};

} // namespace hv
