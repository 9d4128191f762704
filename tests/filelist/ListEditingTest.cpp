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
    QPoint centreOf(int row) { return form->ListView1->visualRect(fileList().index(row - 1, 0)).center(); }
    void pressOn(int row) { QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(row)); }
    void moveOnto(int row) {
        const QPointF at = centreOf(row);
        QMouseEvent move(QEvent::MouseMove, at, viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
    }
    void releaseOn(int row) { QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(row)); }
    // A press below the last row: it clicks no row.
    void pressBelowTheRows() {
        QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, viewport()->height() - 2));
    }
    void drag(int from, std::initializer_list<int> over) {
        pressOn(from);
        for (const int row : over) moveOnto(row);
        releaseOn(*(over.end() - 1));
    }
    void pressDelete() { QTest::keyClick(form->ListView1, Qt::Key_Delete); }
    void doubleClick(int row) {
        QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(row));
        QTest::mouseDClick(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(row));
        QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(row));
    }
};

TEST_F(ListEditing, DeleteAndDoubleClickRemoveTheSelectedRowUnlessBusy) {
    load();
    pressDelete(); // an empty list
    form->ListView1_DblClick();
    addRows({"A", "B", "C", "D"});
    form->ListView1->clearSelection();
    pressDelete(); // no selected row
    form->ListView1->selectItem(2);
    form->setPointer(Pointer::Hourglass);
    pressDelete();
    doubleClick(3);
    EXPECT_EQ(rows(), (QStringList{"A", "B", "C", "D"}));
    form->setPointer(Pointer::Default);
    form->ListView1->selectItem(2);
    pressDelete();
    QTest::keyClick(form->ListView1, Qt::Key_Backspace);
    EXPECT_EQ(rows(), (QStringList{"A", "C", "D"}));
    doubleClick(3);
    EXPECT_EQ(rows(), (QStringList{"A", "C"}));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(ListEditing, ClearListEmptiesTheListUnlessBusy) {
    load();
    click(form->PushButton5); // an empty list
    addRows({"A", "B"});
    form->setPointer(Pointer::Hourglass);
    click(form->PushButton5);
    EXPECT_EQ(rows().size(), 2);
    form->setPointer(Pointer::Default);
    click(form->PushButton5);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(ListEditing, MovingSlowlyCarriesThePathJumpingSwapsTwoPaths) {
    load();
    addRows({"A", "B", "C", "D"});
    drag(1, {2, 3, 4});
    EXPECT_EQ(rows(), (QStringList{"B", "C", "D", "A"}));
    EXPECT_EQ(form->ListView1->selectedIndex(), 4);
    moveOnto(1); // the release ended the drag
    EXPECT_EQ(rows(), (QStringList{"B", "C", "D", "A"}));

    fileList().clearItems();
    addRows({"A", "B", "C", "D"});
    drag(1, {4});
    EXPECT_EQ(rows(), (QStringList{"D", "B", "C", "A"}));
}

TEST_F(ListEditing, EqualPathsNeverSwapAndNoButtonMeansNoDrag) {
    load();
    addRows({"same", "same", "other"});
    pressOn(1);
    moveOnto(2);
    EXPECT_EQ(rows(), (QStringList{"same", "same", "other"}));
    moveOnto(3); // the first row still carries the dragged path
    EXPECT_EQ(rows(), (QStringList{"other", "same", "same"}));
    releaseOn(3);
    moveOnto(1); // moved without a button
    EXPECT_EQ(rows(), (QStringList{"other", "same", "same"}));
}

TEST_F(ListEditing, TheDraggedRowFollowsRemovalsAndIsForgottenWithItsRow) {
    load();
    addRows({"A", "B", "C"});
    drag(3, {3});
    form->ListView1->selectItem(1);
    pressDelete();
    pressBelowTheRows(); // the dragged path is still "C", now in row 2
    moveOnto(1);
    releaseOn(1);
    EXPECT_EQ(rows(), (QStringList{"C", "B"}));
    click(form->PushButton5);
    addRows({"X", "Y"});
    pressBelowTheRows(); // no row carries a dragged path any more
    moveOnto(2);
    EXPECT_EQ(rows(), (QStringList{"X", "Y"}));
}

TEST_F(ListEditing, TheDragPointerShowsUntilReleaseAndItsAbsenceChangesNothing) {
    load();
    addRows({"A", "B"});
    viewport()->setCursor(Qt::IBeamCursor);
    drag(1, {2}); // no drag.ico beside the program
    EXPECT_EQ(rows(), (QStringList{"B", "A"}));
    ASSERT_TRUE(QFile::copy(QStringLiteral(HALVORINE_SOURCE_DIR "/assets/drag.ico"), appFolder.path("drag.ico")));
    pressOn(1);
    EXPECT_EQ(viewport()->cursor().shape(), Qt::BitmapCursor);
    releaseOn(1);
    EXPECT_EQ(viewport()->cursor().shape(), Qt::ArrowCursor);
}

// Near the list's bottom edge the next row scrolls into view, wherever the
// window stands on the screen; away from the edges nothing scrolls.
TEST_F(ListEditing, EdgeScrollingFollowsThePointersPlaceInTheList) {
    load();
    QStringList many;
    for (int i = 1; i <= 40; ++i) many.append(QString("row %1").arg(i, 2, 10, QLatin1Char('0')));
    QScrollBar* scroll = form->ListView1->verticalScrollBar();
    for (const QPoint& place : {QPoint(0, 0), QPoint(300, 400)}) {
        form->move(place);
        fileList().clearItems();
        addRows(many);
        form->ListView1->scrollToTop();
        drag(2, {3});
        EXPECT_EQ(scroll->value(), 0);
        const int lastInView = form->ListView1->hitTest(QPoint(5, viewport()->height() - 2));
        ASSERT_GT(lastInView, 3);
        drag(1, {lastInView});
        EXPECT_GT(scroll->value(), 0) << place.y();
    }
}

} // namespace
} // namespace hv::test
