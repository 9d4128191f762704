// Removing rows, "Clear List" and dragging rows within the file list.
#include "FileListFixture.h"

#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>

namespace hv::test {
namespace {

class ListEditing : public FileListFixture {
protected:
    QWidget* viewport() { return form->ListView1->viewport(); }
    QPoint centreOf(int row) {
        return form->ListView1->visualRect(fileList().index(row - 1, 0)).center();
    }
    void pressOn(int row) { QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(row)); }
    void moveTo(const QPoint& pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), viewport()->mapToGlobal(QPointF(pos)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
    }
    void moveOnto(int row) { moveTo(centreOf(row)); }
    void release(const QPoint& pos) { QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, pos); }
    void pressDelete() { QTest::keyClick(form->ListView1, Qt::Key_Delete); }
    void shipDragPointer() {
        ASSERT_TRUE(QFile::copy(QStringLiteral(HALVORINE_SOURCE_DIR "/assets/drag.ico"), appFolder.path("drag.ico")));
    }
};

TEST_F(ListEditing, DeleteAndDoubleClickDoNothingOnAnEmptyList) {
    load();
    pressDelete();
    form->ListView1_DblClick();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(ListEditing, DeleteRemovesTheSelectedRowNotTheOneUnderThePointer) {
    load();
    addRows({"A", "B", "C"});
    form->ListView1->selectItem(2);
    pressDelete();
    EXPECT_EQ(rows(), (QStringList{"A", "C"}));
    QTest::keyClick(form->ListView1, Qt::Key_Backspace);
    QTest::keyClick(form->ListView1, Qt::Key_X);
    EXPECT_EQ(rows().size(), 2);
}

TEST_F(ListEditing, WithoutASelectedRowNothingIsRemoved) {
    load();
    addRows({"A", "B"});
    form->ListView1->clearSelection();
    pressDelete();
    form->ListView1_DblClick();
    EXPECT_EQ(rows(), (QStringList{"A", "B"}));
}

TEST_F(ListEditing, DoubleClickRemovesTheClickedRow) {
    load();
    addRows({"A", "B", "C"});
    // A double-click as the platform delivers it: a click, then the
    // double-click and its release.
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(3));
    QTest::mouseDClick(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(3));
    QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(3));
    EXPECT_EQ(rows(), (QStringList{"A", "B"}));
}

TEST_F(ListEditing, WhileTheHourglassShowsNothingIsRemoved) {
    load();
    addRows({"A", "B", "C"});
    form->ListView1->selectItem(1);
    form->setPointer(Pointer::Hourglass);
    pressDelete();
    form->ListView1_DblClick();
    click(form->PushButton5);
    EXPECT_EQ(rows(), (QStringList{"A", "B", "C"}));
    form->setPointer(Pointer::Default);
    click(form->PushButton5);
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(ListEditing, ClearingAnEmptyListShowsNothing) {
    load();
    click(form->PushButton5);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(ListEditing, MovingSlowlyOverEveryRowCarriesThePathToTheEnd) {
    load();
    addRows({"A", "B", "C", "D"});
    pressOn(1);
    EXPECT_TRUE(form->DraggingRows);
    EXPECT_EQ(form->DragRow, 1);
    for (int row = 2; row <= 4; ++row) moveOnto(row);
    release(centreOf(4));
    EXPECT_EQ(rows(), (QStringList{"B", "C", "D", "A"}));
    EXPECT_EQ(form->ListView1->selectedIndex(), 4);
    EXPECT_FALSE(form->DraggingRows);
    EXPECT_EQ(form->DragRow, 4);
}

TEST_F(ListEditing, JumpingOverRowsSwapsOnlyTheTwoPaths) {
    load();
    addRows({"A", "B", "C", "D"});
    pressOn(1);
    moveOnto(4);
    release(centreOf(4));
    EXPECT_EQ(rows(), (QStringList{"D", "B", "C", "A"}));
}

TEST_F(ListEditing, EqualPathsNeverSwap) {
    load();
    addRows({"same", "same", "other"});
    pressOn(1);
    moveOnto(2);
    EXPECT_EQ(rows(), (QStringList{"same", "same", "other"}));
    EXPECT_EQ(form->DragRow, 1);
    release(centreOf(2));
}

TEST_F(ListEditing, MovingWithoutAPressedButtonMovesNothing) {
    load();
    addRows({"A", "B"});
    form->ListView1_ItemClick(1);
    form->ListView1_MouseMove(centreOf(2));
    EXPECT_EQ(rows(), (QStringList{"A", "B"}));
}

TEST_F(ListEditing, ThePathFollowsItsRowWhenRowsAboveItAreRemoved) {
    load();
    addRows({"A", "B", "C"});
    pressOn(3);
    release(centreOf(3));
    form->ListView1->selectItem(1);
    pressDelete();
    EXPECT_EQ(form->DragRow, 2);
    click(form->PushButton5);
    EXPECT_EQ(form->DragRow, 0);
    addRows({"X", "Y"});
    // A press beside the rows keeps the old drag row: there is none now.
    form->ListView1_MouseDown(QPoint(1, 1));
    moveOnto(1);
    EXPECT_EQ(rows(), (QStringList{"X", "Y"}));
}

TEST_F(ListEditing, TheRowDragShowsTheDragPointerUntilRelease) {
    shipDragPointer();
    load();
    addRows({"A", "B"});
    pressOn(1);
    EXPECT_EQ(viewport()->cursor().shape(), Qt::BitmapCursor);
    release(centreOf(1));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ListEditing, WithoutTheDragPointerFileTheListKeepsItsPointerAndTheDragWorks) {
    load();
    addRows({"A", "B"});
    viewport()->setCursor(Qt::IBeamCursor);
    pressOn(1);
    EXPECT_EQ(viewport()->cursor().shape(), Qt::IBeamCursor);
    moveOnto(2);
    release(centreOf(2));
    EXPECT_EQ(rows(), (QStringList{"B", "A"}));
}

TEST_F(ListEditing, MovingOverTheListResetsTheWindowPointerUnlessBusy) {
    load();
    form->setPointer(Pointer::Custom);
    moveTo(QPoint(5, 5));
    EXPECT_EQ(form->pointer(), Pointer::Default);
    form->setPointer(Pointer::Hourglass);
    moveTo(QPoint(6, 6));
    EXPECT_EQ(form->pointer(), Pointer::Hourglass);
}

// Dragging down to the last row in view near the list's bottom edge brings
// the next row into view, wherever the window stands on the screen.
TEST_F(ListEditing, NearTheBottomEdgeTheNextRowScrollsIntoViewWhereverTheWindowIs) {
    load();
    QStringList many;
    for (int i = 1; i <= 40; ++i) many.append(QString("row %1").arg(i, 2, 10, QLatin1Char('0')));
    for (const QPoint& place : {QPoint(0, 0), QPoint(300, 400)}) {
        form->move(place);
        fileList().clearItems();
        addRows(many);
        form->ListView1->scrollToTop();
        QApplication::processEvents();
        const int lastInView = form->ListView1->hitTest(QPoint(5, viewport()->height() - 2));
        ASSERT_GT(lastInView, 1);
        ASSERT_LT(lastInView, 40);
        pressOn(1);
        for (int row = 2; row <= lastInView; ++row) moveOnto(row);
        release(centreOf(lastInView));
        EXPECT_GT(form->ListView1->verticalScrollBar()->value(), 0) << place.x();
        EXPECT_EQ(fileList().itemText(lastInView), "row 01");
    }
}

TEST_F(ListEditing, AwayFromTheEdgesNothingScrolls) {
    load();
    QStringList many;
    for (int i = 1; i <= 40; ++i) many.append(QString("row %1").arg(i));
    addRows(many);
    form->ListView1->scrollToTop();
    QApplication::processEvents();
    pressOn(2);
    moveOnto(3);
    release(centreOf(3));
    EXPECT_EQ(form->ListView1->verticalScrollBar()->value(), 0);
}

} // namespace
} // namespace hv::test
