#include "ShellFixture.h"

#include "core/ErrorTrap.h"
#include "widgets/ListView.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace hv::test {
namespace {

using ShellCommands = ShellFixture;

TEST(ErrorReport, ForcedFailureShowsTheExactReportAndTheHandlerResumes) {
    FakeMessageBox messages;
    ErrorTrap trap(messages, "Form1", "PushButton7_Click");
    QStringList ran;
    trap(110, [&] {
        ran << "110";
        throw Failure("File not found");
    });
    trap(112, [&] { ran << "112"; });
    trap(114, [&] { throw std::runtime_error("Out of memory"); });
    EXPECT_EQ(ran, (QStringList{"110", "112"}));
    ASSERT_EQ(messages.shown.size(), 2u);
    const Message& report = messages.shown[0];
    EXPECT_EQ(report.text, "File not found\r\nin Velquist2021/08/31.Form1.PushButton7_Click at line 110\r\r"
                           "Please email screenshot of this message to support@halvorine.example");
    EXPECT_EQ(report.title, "Application Error");
    EXPECT_EQ(report.icon, MessageIcon::Warning);
    EXPECT_EQ(report.buttons, MessageButtons::Ok);
    EXPECT_TRUE(messages.shown[1].text.startsWith(
        "Out of memory\r\nin Velquist2021/08/31.Form1.PushButton7_Click at line 114\r\r"));
    EXPECT_EQ(trap.failures(), 2);

    ErrorTrap scan(messages, "AddFolder", "GetSubDirectories2016", "Quorlane");
    EXPECT_EQ(scan.procedurePath(), "Quorlane2021/08/31.AddFolder.GetSubDirectories2016");
}

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
