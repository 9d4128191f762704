#include "ShellFixture.h"

#include "widgets/ListView.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace hv::test {
namespace {

using ShellCommands = ShellFixture;

TEST_F(ShellCommands, HelpNamesTheContactPageAndChangesNothing) {
    load();
    auto* files = control<ListView>("ListView1");
    files->items().addItem("/art/a.psd");
    control<QLineEdit>("Text1")->setText("Logo");
    control<QRadioButton>("Option1")->setChecked(true);

    QTest::mouseClick(control<QPushButton>("PushButton16"), Qt::LeftButton);

    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    const Message& shown = fakes.messages.shown[0];
    EXPECT_EQ(shown.text, "Questions? Please contact Team Trellwick at https://www.halvorine.example/contact/");
    EXPECT_EQ(shown.title, "Halvorine");
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shown.icon, MessageIcon::None);
    EXPECT_EQ(files->items().itemCount(), 1);
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), "Logo");
    EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
}

void moveOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST_F(ShellCommands, HoverGivesButtonsTheHandAndListsFramesAndWindowTheArrow) {
    load();
    form->showCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const char* buttons[] = {"PushButton1", "PushButton6", "PushButton5",  "PushButton9", "PushButton7", "PushButton3",
                             "PushButton2", "PushButton4", "PushButton13", "PushButton8", "PushButton16"};
    for (const char* name : buttons) {
        form->setPointer(Pointer::Default);
        moveOver(control<QWidget>(name));
        EXPECT_EQ(form->pointer(), Pointer::Custom) << name;
    }
    for (QWidget* surface : {static_cast<QWidget*>(form.get()), control<QWidget>("Frame1"), control<QWidget>("Frame2"),
                             control<ListView>("ListView2")->viewport(), control<ListView>("ListView1")->viewport()}) {
        form->setPointer(Pointer::Custom);
        moveOver(surface);
        EXPECT_EQ(form->pointer(), Pointer::Default) << surface->objectName().toStdString();
    }
    for (const char* name : {"Text1", "Option1", "Option2", "ProgressBar1"}) {
        form->setPointer(Pointer::Custom);
        moveOver(control<QWidget>(name));
        EXPECT_EQ(form->pointer(), Pointer::Custom) << name;
    }
}

TEST_F(ShellCommands, HoverNeverReplacesTheHourglass) {
    load();
    form->setPointer(Pointer::Hourglass);
    moveOver(control<QWidget>("PushButton7"));
    moveOver(form.get());
    moveOver(control<ListView>("ListView1")->viewport());
    EXPECT_EQ(form->pointer(), Pointer::Hourglass);
    EXPECT_TRUE(form->busy());
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
}

TEST_F(ShellCommands, ClosingTheWindowEndsTheProgram) {
    load();
    form->show();
    form->close();
    EXPECT_EQ(fakes.appExit.calls, 1);
}

} // namespace
} // namespace hv::test
