// The window used from the keyboard alone.
#include "ShellFixture.h"

#include "widgets/ListView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace hv::test {
namespace {

class Keyboard : public ShellFixture {
protected:
    void SetUp() override {
        load();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    ListViewModel& files() { return form->ListView1->items(); }
    QStringList fileRows() {
        QStringList out;
        for (int row = 1; row <= files().itemCount(); ++row) out << files().itemText(row);
        return out;
    }
    int shown(const QString& text) const {
        return int(std::count_if(fakes.messages.shown.begin(), fakes.messages.shown.end(),
                                 [&](const Message& message) { return message.text.startsWith(text); }));
    }
};

TEST_F(Keyboard, ReturnInTheSearchBoxSearchesAndAFocusedButtonTakesReturnAndSpace) {
    fakes.photoshop.addDocument("/art/a.psd", {"Logo", "Back"});
    files().addItem("/art/a.psd");
    form->Text1->setFocus();
    QTest::keyClicks(form->Text1, "logo");
    QTest::keyClick(form->Text1, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown("Done.") == 1; }));
    EXPECT_EQ(form->ListView2->items().itemCount(), 1);

    form->PushButton16->setFocus();
    QTest::keyClick(form->PushButton16, Qt::Key_Return);
    QTest::keyClick(form->PushButton16, Qt::Key_Space);
    EXPECT_EQ(shown("Questions?"), 2);
}

TEST_F(Keyboard, EachShortcutPressesItsButtonOnce) {
    const struct {
        QKeyCombination keys;
        const char* button;
    } rows[] = {
        {Qt::CTRL | Qt::Key_Return, "PushButton7"},
        {QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter), "PushButton7"},
        {Qt::CTRL | Qt::Key_S, "PushButton4"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "PushButton13"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_C, "PushButton8"},
        {QKeyCombination(Qt::Key_F1), "PushButton16"},
        {Qt::CTRL | Qt::Key_O, "PushButton1"},
    };
    form->Text1->setFocus(); // shortcuts reach the window from the search box too
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        auto* button = control<QPushButton>(row.button);
        QSignalSpy clicks(button, &QPushButton::clicked);
        QTest::keyClick(form->Text1, row.keys.key(), row.keys.keyboardModifiers());
        EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.count() == 1; }));
        QTest::qWait(150);
        EXPECT_EQ(clicks.count(), 1);
        EXPECT_EQ(form->Text1->text(), ""); // typed nothing
        EXPECT_FALSE(button->toolTip().isEmpty());
    }
}

TEST_F(Keyboard, DeleteRightAfterTabbingIntoTheFileListRemovesItsCurrentRow) {
    const struct {
        int current; // 0: none
        QStringList left;
    } rows[] = {{0, {"B", "C"}}, {2, {"A", "C"}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.current);
        form->Text1->setFocus();
        form->PushButton5->click();
        for (const char* path : {"A", "B", "C"}) files().addItem(path);
        files().flush();
        if (row.current)
            form->ListView1->selectionModel()->setCurrentIndex(files().index(row.current - 1, 0),
                                                               QItemSelectionModel::NoUpdate);
        form->ListView1->setFocus(Qt::BacktabFocusReason);
        QTest::keyClick(form->ListView1, Qt::Key_Delete);
        EXPECT_EQ(fileRows(), row.left);
    }
}

TEST_F(Keyboard, AltUpAndDownMoveTheSelectedFileAsDraggingItOntoItsNeighbourDoes) {
    const struct {
        QStringList paths;
        int selected;
        Qt::Key key;
        QStringList after;
        int selectedAfter;
    } rows[] = {
        {{"A", "B", "C"}, 2, Qt::Key_Up, {"B", "A", "C"}, 1}, {{"A", "B", "C"}, 2, Qt::Key_Down, {"A", "C", "B"}, 3},
        {{"A", "B", "C"}, 1, Qt::Key_Up, {"A", "B", "C"}, 1}, {{"A", "B", "C"}, 3, Qt::Key_Down, {"A", "B", "C"}, 3},
        {{"A", "A", "C"}, 2, Qt::Key_Up, {"A", "A", "C"}, 2}, // equal paths never swap
    };
    QWidget* viewport = form->ListView1->viewport();
    auto centre = [&](int row) { return form->ListView1->visualRect(files().index(row - 1, 0)).center(); };
    auto fill = [&](const QStringList& paths, int selected) {
        form->PushButton5->click();
        for (const QString& path : paths) files().addItem(path);
        form->ListView1->selectItem(selected);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.after.join(' ').toStdString());
        const int neighbour = row.selected + (row.key == Qt::Key_Up ? -1 : 1);
        QStringList dragged;
        if (neighbour >= 1 && neighbour <= row.paths.size()) {
            fill(row.paths, row.selected);
            QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, centre(row.selected));
            QMouseEvent move(QEvent::MouseMove, centre(neighbour), viewport->mapToGlobal(centre(neighbour)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, centre(neighbour));
            dragged = fileRows();
        }
        fill(row.paths, row.selected);
        QTest::keyClick(form->ListView1, row.key, Qt::AltModifier);
        EXPECT_EQ(fileRows(), row.after);
        EXPECT_EQ(form->ListView1->selectedIndex(), row.selectedAfter);
        if (!dragged.isEmpty()) {
            EXPECT_EQ(fileRows(), dragged);
        }
    }
}

} // namespace
} // namespace hv::test
