#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

namespace hv {

class ListView;

// Moving a path up and down the file list by dragging its row: the dragged
// path swaps places with the path of each row the pointer moves onto. The
// window makes one for its file list and hands it the mouse moves over the
// list (the window decides which control a move belongs to); presses, clicks
// and releases reach it from the list itself.
//
// A press on the list starts a drag and the release ends it. Clicking a row
// makes it the dragged row and shows the drag pointer read from
// `dragPointerFile` at that moment; without that picture the list keeps the
// pointer it shows. The dragged row follows the rows that removals move and
// is forgotten with its row.
class RowDrag : public QObject {
public:
    RowDrag(ListView& list, QString dragPointerFile);

    // The pointer moved to `pos` in the list's viewport. Near the top or
    // bottom edge of the list the neighbouring row is scrolled into view.
    void mouseMove(const QPoint& pos);
    // The selected row's path moves `step` rows (-1 up, 1 down), as dragging
    // it onto that row would move it.
    void moveSelected(int step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void itemClick();
    void release();
    bool swapOnto(int over);
    void rowsRemoved(int first, int last);
    bool isRow(int row) const;

    ListView& list_;
    QString dragPointerFile_;
    bool dragging_ = false;
    int dragRow_ = 0; // position of the row carrying the dragged path; 0: none
};

} // namespace hv
