// The result commands through the real main window: rows are ticked and
// buttons pressed as a user does.
#include "support/XlsxCells.h"

#include "platform/qt/XlsxSpreadsheetLink.h"
#include "shell/Form1.h"
#include "support/FormFixture.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace hv::test {
namespace {

const QDateTime kWhen(QDate(2026, 12, 8), QTime(10, 31, 5));
const QString kCopied = QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area where you "
                                       "normally type and press Ctrl+V to paste the clipboard.");

class OutputForm : public FormFixture {
protected:
    void SetUp() override {
        openForm(platform);
        fakes.messages.shown.clear();
    }

    ListViewModel& results() { return form->ListView2->items(); }
    void addResult(const QString& path, const QString& layer) { results().addItem(QStringList{path, layer}); }
    // Ticks a result's check box from the keyboard.
    void tick(int row) {
        results().flush();
        form->ListView2->setFocus();
        form->ListView2->selectItem(row);
        QTest::keyClick(form->ListView2, Qt::Key_Space);
        ASSERT_TRUE(results().isChecked(row)) << "row " << row << " not ticked";
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void addWorkedExample() {
        addResult(QStringLiteral("C:\\art\\a.psd"), QStringLiteral("Logo"));
        addResult(QStringLiteral("C:\\art\\poster.psd"), QStringLiteral("Logo copy"));
    }

    TempDir workbooks;
    bool viewer = true;
    XlsxSpreadsheetLink xlsx{fakes.desktop,
                             XlsxLinkOptions{[this] { return viewer; }, workbooks.path(), [] { return kWhen; }}};
    Platform platform = fakes.with().spreadsheet(xlsx);
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// --- Save Results As Text File ----------------------------------------------

TEST_F(OutputForm, TextFileButtonWritesTheTickedRowsUnderTheHourglass) {
    addWorkedExample();
    tick(1);
    tick(2);
    TempDir out;
    const QString target = out.path(QStringLiteral("res.txt"));
    fakes.dialogs.saveAnswers.push_back(target);
    bool busyThroughout = true;
    fakes.events.onEvents = [&](int) { busyThroughout = busyThroughout && form->pointer() == Pointer::Hourglass; };

    click(form->PushButton4);

    ASSERT_EQ(fakes.dialogs.calls.size(), 1u);
    EXPECT_EQ(fakes.dialogs.calls[0].kind, QStringLiteral("save"));
    EXPECT_EQ(fakes.dialogs.calls[0].title, QStringLiteral("Save"));
    EXPECT_EQ(fakes.dialogs.calls[0].filterOrStart, QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
    EXPECT_EQ(fileBytes(target), QByteArray("File             \tLayer Name\t\r\n"
                                            "C:\\art\\a.psd     \tLogo      \t\r\n"
                                            "C:\\art\\poster.psd\tLogo copy \t\r\n"));
    EXPECT_GT(fakes.events.calls, 0);
    EXPECT_TRUE(busyThroughout);
    EXPECT_EQ(form->pointer(), Pointer::Default);
    EXPECT_EQ(form->ProgressBar1->value(), 0);
    EXPECT_EQ(form->ProgressBar1->text(), QStringLiteral("Progress Bar"));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(OutputForm, CancelledSaveDialogWritesNothingEvenAfterAnEarlierSave) {
    addWorkedExample();
    tick(1);
    TempDir out;
    const QString target = out.path(QStringLiteral("res.txt"));
    fakes.dialogs.saveAnswers.push_back(target);
    click(form->PushButton4);
    const QByteArray first = fileBytes(target);
    tick(2);
    const int eventsBefore = fakes.events.calls;

    click(form->PushButton4); // no answer queued: Cancel

    EXPECT_EQ(fakes.dialogs.calls.size(), 2u);
    EXPECT_EQ(fileBytes(target), first);
    EXPECT_EQ(fakes.events.calls, eventsBefore);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("res.txt")});
    EXPECT_EQ(form->pointer(), Pointer::Default);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(OutputForm, ClearResultsPressedDuringTheTextExportIsReportedAndTheWindowRecovers) {
    for (int i = 1; i <= 20; ++i) addResult(QStringLiteral("/art/%1.psd").arg(i), QStringLiteral("Logo"));
    for (int i = 1; i <= 20; ++i) tick(i);
    TempDir out;
    fakes.dialogs.saveAnswers.push_back(out.path(QStringLiteral("res.txt")));
    fakes.events.onEvents = [&](int call) {
        if (call == 60) click(form->PushButton2); // inside the rows pass, between two cells
    };

    click(form->PushButton4);

    EXPECT_EQ(results().itemCount(), 0);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith(
        QStringLiteral("Index out of bounds\r\nin Velquist2021/08/31.Main.SaveListviewProperlySpaced at line 19")))
        << fakes.messages.shown[0].text.toStdString();
    EXPECT_TRUE(fileBytes(out.path(QStringLiteral("res.txt")))
                    .startsWith("File       \tLayer Name\t\r\n")); // "/art/20.psd" is 11 wide
    EXPECT_EQ(form->pointer(), Pointer::Default);
    EXPECT_EQ(form->ProgressBar1->text(), QStringLiteral("Progress Bar"));
}

// --- Copy Results To Clipboard and Clear Results ----------------------------

TEST_F(OutputForm, ClipboardButtonCopiesTheTickedRowsAndConfirms) {
    addWorkedExample();
    tick(1);
    tick(2);
    click(form->PushButton8);
    EXPECT_EQ(fakes.clipboard.text, QStringLiteral("C:\\art\\a.psd     \tLogo\r\nC:\\art\\poster.psd\tLogo copy\r\n"));
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, kCopied);
    EXPECT_EQ(fakes.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(OutputForm, ClipboardButtonOnAnEmptyListConfirmsAndLeavesTheClipboard) {
    click(form->PushButton8);
    EXPECT_EQ(fakes.clipboard.text, QStringLiteral("(previous content)"));
    EXPECT_EQ(fakes.messages.texts(), QStringList{kCopied});
}

TEST_F(OutputForm, ResultsClearedDuringTheCopyAreReportedAt106ThenConfirmed) {
    addWorkedExample();
    tick(2);
    fakes.events.onEvents = [&](int call) {
        if (call == 3) click(form->PushButton2);
    };
    click(form->PushButton8);
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith(
        QStringLiteral("Index out of bounds\r\nin Velquist2021/08/31.Form1.PushButton8_Click at line 106\r\r")));
    EXPECT_EQ(fakes.messages.shown[1].text, kCopied);
    EXPECT_EQ(fakes.clipboard.text, QStringLiteral("(previous content)"));
}

TEST_F(OutputForm, AClipboardThatRefusesEveryAttemptIsReportedAt106ThenConfirmed) {
    addWorkedExample();
    tick(1);
    fakes.clipboard.setFailures = 1000;
    click(form->PushButton8);
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith(
        QStringLiteral("The clipboard did not take the results.\r\nin Velquist2021/08/31.Form1."
                       "PushButton8_Click at line 106\r\r")));
    EXPECT_EQ(fakes.messages.shown[1].text, kCopied);
}

TEST_F(OutputForm, ClearResultsEmptiesTheResultsAndNothingElse) {
    form->ListView1->items().addItem(QStringLiteral("/art/a.psd"));
    addWorkedExample();
    tick(1);
    form->ProgressBar1->setValue(42);
    form->ProgressBar1->setText(QStringLiteral("Processing: a.psd"));

    click(form->PushButton2);

    EXPECT_EQ(results().itemCount(), 0);
    EXPECT_EQ(results().headerCount(), 2);
    EXPECT_EQ(form->ListView1->items().itemCount(), 1);
    EXPECT_EQ(form->ProgressBar1->value(), 42);
    EXPECT_EQ(form->ProgressBar1->text(), QStringLiteral("Processing: a.psd"));
    EXPECT_EQ(fakes.clipboard.text, QStringLiteral("(previous content)"));
    EXPECT_TRUE(fakes.messages.shown.empty());

    click(form->PushButton2); // an empty list: nothing happens
    EXPECT_TRUE(fakes.messages.shown.empty());
}

// --- Save Results As Excel File ---------------------------------------------

TEST_F(OutputForm, ExcelButtonWritesEveryRowIntoAWorkbookAndOpensIt) {
    addWorkedExample();
    tick(1); // ticks play no part here
    click(form->PushButton13);

    ASSERT_EQ(fakes.desktop.documents.size(), 1);
    EXPECT_EQ(fakes.desktop.documents[0], workbooks.path(QStringLiteral("Halvorine results 2026-12-08 10-31-05.xlsx")));
    const XlsxSheet sheet = readXlsxSheet(fakes.desktop.documents[0]);
    ASSERT_TRUE(sheet.ok);
    EXPECT_EQ(sheet.text(QStringLiteral("A1")), QStringLiteral("File"));
    EXPECT_EQ(sheet.text(QStringLiteral("B1")), QStringLiteral("Layer Name"));
    EXPECT_EQ(sheet.text(QStringLiteral("A2")), QStringLiteral("C:\\art\\a.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("B2")), QStringLiteral("Logo"));
    EXPECT_EQ(sheet.text(QStringLiteral("A3")), QStringLiteral("C:\\art\\poster.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("B3")), QStringLiteral("Logo copy"));
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(OutputForm, ExcelButtonWithoutASpreadsheetApplicationShowsBothMessagesInOrder) {
    addWorkedExample();
    viewer = false;
    click(form->PushButton13);
    EXPECT_EQ(fakes.messages.texts(),
              QStringList({QStringLiteral("Excel is not installed on this computer. You need to have it installed to "
                                          "use this software without error."),
                           QStringLiteral("Excel is not installed on this computer. You need to have it installed to "
                                          "use this feature.")}));
    for (const Message& message : fakes.messages.shown) {
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
        EXPECT_EQ(message.icon, MessageIcon::None);
    }
    EXPECT_TRUE(QDir(workbooks.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(fakes.desktop.documents.isEmpty());
    EXPECT_EQ(fakes.events.calls, 0);
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(OutputForm, ExcelButtonWithNoResultsMakesNoWorkbookAndSaysNothing) {
    click(form->PushButton13);
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_TRUE(fakes.desktop.documents.isEmpty());
    EXPECT_TRUE(QDir(workbooks.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

} // namespace
} // namespace hv::test
