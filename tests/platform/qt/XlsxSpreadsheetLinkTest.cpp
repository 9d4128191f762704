#include "support/ResultsList.h"
#include "support/XlsxCells.h"

#include "core/ErrorTrap.h"
#include "output/ResultsWorkbook.h"
#include "platform/Failure.h"
#include "platform/qt/XlsxSpreadsheetLink.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace hv::test {
namespace {

const QDateTime kWhen(QDate(2026, 12, 8), QTime(10, 31, 5));

// The real workbook writer, saving into a temporary folder at a fixed time
// and "opening" through the recording desktop.
struct XlsxFixture {
    TempDir folder;
    FakeDesktopShell desktop;
    bool viewer = true;
    XlsxSpreadsheetLink link{desktop, XlsxLinkOptions{[this] { return viewer; }, folder.path(), [] { return kWhen; }}};
    FakeEventPump events;
    FakeMessageBox messages;

    // Fills a workbook from the list as the button does and shows it.
    XlsxSheet exportList(const ListViewModel& list) {
        ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));
        ResultsWorkbook(list, link, events).fill(trap);
        return opened();
    }
    XlsxSheet opened() const {
        return desktop.documents.isEmpty() ? XlsxSheet{} : readXlsxSheet(desktop.documents.last());
    }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
};

void expectAllTexts(const XlsxSheet& sheet) {
    for (const auto& [reference, cell] : sheet.cells) {
        EXPECT_TRUE(cell.type == QLatin1String("s") || cell.type == QLatin1String("inlineStr"))
            << reference.toStdString() << " has type " << cell.type.toStdString();
        EXPECT_FALSE(cell.formula) << reference.toStdString();
    }
}

TEST(XlsxWorkbook, TwoRowExampleReadsBackAsWritten) {
    XlsxFixture x;
    const XlsxSheet sheet =
        x.exportList(*resultsList({{QStringLiteral("/art/a.psd"), QStringLiteral("Logo")},
                                   {QStringLiteral("/art/poster.psd"), QStringLiteral("Logo copy")}}));
    ASSERT_TRUE(sheet.ok);
    EXPECT_EQ(x.desktop.documents,
              QStringList{x.folder.path(QStringLiteral("Halvorine results 2026-12-08 10-31-05.xlsx"))});
    EXPECT_EQ(sheet.cells.size(), 6u);
    EXPECT_EQ(sheet.text(QStringLiteral("A1")), QStringLiteral("File"));
    EXPECT_EQ(sheet.text(QStringLiteral("B1")), QStringLiteral("Layer Name"));
    EXPECT_EQ(sheet.text(QStringLiteral("A2")), QStringLiteral("/art/a.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("B2")), QStringLiteral("Logo"));
    EXPECT_EQ(sheet.text(QStringLiteral("A3")), QStringLiteral("/art/poster.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("B3")), QStringLiteral("Logo copy"));
    expectAllTexts(sheet);
    EXPECT_TRUE(x.messages.shown.empty());
    EXPECT_EQ(x.files(), QStringList{QStringLiteral("Halvorine results 2026-12-08 10-31-05.xlsx")});
}

TEST(XlsxWorkbook, SignsLeaveLayerNamesOnlyAndANameOfSignsStaysInItsColumn) {
    XlsxFixture x;
    const XlsxSheet sheet = x.exportList(*resultsList({{QStringLiteral("/x/=y.psd"), QStringLiteral("=A1+1")},
                                                       {QStringLiteral("/x/b.psd"), QStringLiteral("==")},
                                                       {QStringLiteral("/x/c.psd"), QStringLiteral("after")}}));
    ASSERT_TRUE(sheet.ok);
    EXPECT_EQ(sheet.text(QStringLiteral("A2")), QStringLiteral("/x/=y.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("B2")), QStringLiteral("A1+1"));
    EXPECT_EQ(sheet.text(QStringLiteral("A3")), QStringLiteral("/x/b.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("B3")), QString());
    EXPECT_EQ(sheet.text(QStringLiteral("C3")), QString());
    EXPECT_EQ(sheet.text(QStringLiteral("A4")), QStringLiteral("/x/c.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("B4")), QStringLiteral("after"));
    expectAllTexts(sheet);
}

TEST(XlsxWorkbook, EmptyCellsArePackedFromColumnA) {
    XlsxFixture x;
    const XlsxSheet sheet = x.exportList(*resultsList({{QStringLiteral("/a.psd"), QString()},
                                                       {QString(), QStringLiteral("Orphan")},
                                                       {QStringLiteral("/c.psd"), QStringLiteral("L")}}));
    ASSERT_TRUE(sheet.ok);
    EXPECT_EQ(sheet.text(QStringLiteral("A1")), QStringLiteral("File"));
    EXPECT_EQ(sheet.text(QStringLiteral("B1")), QString());
    EXPECT_EQ(sheet.text(QStringLiteral("A2")), QStringLiteral("/a.psd"));
    EXPECT_EQ(sheet.text(QStringLiteral("A3")), QStringLiteral("Orphan"));
    EXPECT_EQ(sheet.text(QStringLiteral("B3")), QString());
    EXPECT_EQ(sheet.text(QStringLiteral("B4")), QStringLiteral("L"));
    EXPECT_EQ(sheet.cells.size(), 5u);
}

TEST(XlsxWorkbook, TextsThatLookLikeFormulasNumbersOrDatesStayTexts) {
    XlsxFixture x;
    auto application = x.link.create();
    SpreadsheetWorkbook& book = application->addWorkbook();
    const QStringList texts = {
        QStringLiteral("=SUM(A1:A2)"), QStringLiteral("0042"),
        QStringLiteral("1e5"),         QStringLiteral("TRUE"),
        QStringLiteral("2021-08-31"),  QStringLiteral("+1"),
        QStringLiteral("@cmd"),        QString::fromUtf8("Ebene \xC3\xBC \xE5\x9B\xBE \xF0\x9F\x98\x80"),
        QStringLiteral("  spaced  "),  QStringLiteral("<&\">")};
    for (int i = 0; i < texts.size(); ++i) book.setCell(i + 1, 1, texts[i]);
    application->setVisible(true);
    const XlsxSheet sheet = x.opened();
    ASSERT_TRUE(sheet.ok);
    for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(sheet.text(QStringLiteral("A%1").arg(i + 1)), texts[i]);
    expectAllTexts(sheet);
}

TEST(XlsxWorkbook, ColumnsAreFittedToTheirLongestText) {
    XlsxFixture x;
    const XlsxSheet sheet = x.exportList(
        *resultsList({{QStringLiteral("/home/someone/artwork/posters/2021/final.psd"), QStringLiteral("Logo")}}));
    ASSERT_TRUE(sheet.ok);
    ASSERT_EQ(sheet.columnWidths.count(1), 1u);
    ASSERT_EQ(sheet.columnWidths.count(2), 1u);
    EXPECT_GE(sheet.columnWidths.at(1), 44); // the path's length
    EXPECT_GE(sheet.columnWidths.at(2), 10); // "Layer Name"
    EXPECT_LT(sheet.columnWidths.at(2), sheet.columnWidths.at(1));
    EXPECT_EQ(xlsxTextWidth(QString::fromUtf8("a\xE5\x9B\xBE\xF0\x9F\x98\x80")), 5); // wide ones count twice
}

TEST(XlsxWorkbook, SavingNeverReplacesAnExistingWorkbook) {
    XlsxFixture x;
    const QString taken = x.folder.file(QStringLiteral("Halvorine results 2026-12-08 10-31-05.xlsx"), "mine");
    x.exportList(*resultsList({{QStringLiteral("/a"), QStringLiteral("b")}}));
    x.exportList(*resultsList({{QStringLiteral("/c"), QStringLiteral("d")}}));
    EXPECT_EQ(x.desktop.documents,
              QStringList({x.folder.path(QStringLiteral("Halvorine results 2026-12-08 10-31-05 (2).xlsx")),
                           x.folder.path(QStringLiteral("Halvorine results 2026-12-08 10-31-05 (3).xlsx"))}));
    QFile mine(taken);
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("mine"));
    EXPECT_EQ(readXlsxSheet(x.desktop.documents[1]).text(QStringLiteral("A2")), QStringLiteral("/c"));
}

TEST(XlsxWorkbook, WorkbookReleasedBeforeShownLeavesNothingBehind) {
    XlsxFixture x;
    {
        auto application = x.link.create();
        application->addWorkbook().setCell(1, 1, QStringLiteral("x"));
    }
    EXPECT_TRUE(x.files().isEmpty()) << x.files().join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(x.desktop.documents.isEmpty());
    x.viewer = false;
    EXPECT_THROW(x.link.create(), Failure);
}

TEST(XlsxWorkbook, CellsOutsideTheSheetFail) {
    XlsxFixture x;
    auto application = x.link.create();
    SpreadsheetWorkbook& book = application->addWorkbook();
    EXPECT_THROW(book.setCell(0, 1, QStringLiteral("x")), Failure);
    EXPECT_THROW(book.setCell(1, 16385, QStringLiteral("x")), Failure);
    EXPECT_THROW(book.setCell(1048577, 1, QStringLiteral("x")), Failure);
    EXPECT_NO_THROW(book.setCell(1048576, 16384, QStringLiteral("x")));
}

TEST(XlsxWorkbook, DesktopThatCannotOpenTheWorkbookIsAFailureNamingTheFile) {
    TempDir dir;
    FakeDesktopShell desktop;
    desktop.takes = false;
    XlsxSpreadsheetLink link(desktop, XlsxLinkOptions{[] { return true; }, dir.path(), [] { return kWhen; }});
    auto application = link.create();
    application->addWorkbook().setCell(1, 1, QStringLiteral("x"));
    try {
        application->setVisible(true);
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(QStringLiteral("Halvorine results 2026-12-08 10-31-05.xlsx")));
    }
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("Halvorine results 2026-12-08 10-31-05.xlsx"))));
}

// --- Whether the desktop opens workbooks, from its mime tables -------------

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name),
          old_(qgetenv(name)),
          had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

TEST(XlsxViewerCheck, WithoutXdgMimeTheMimeTablesDecide) {
    TempDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    ScopedEnv path("PATH", root + "/no-programs");
    ScopedEnv configHome("XDG_CONFIG_HOME", root + "/config");
    ScopedEnv configDirs("XDG_CONFIG_DIRS", root + "/etc");
    ScopedEnv dataHome("XDG_DATA_HOME", root + "/data");
    ScopedEnv dataDirs("XDG_DATA_DIRS", root + "/share");
    EXPECT_FALSE(desktopOpensXlsx());

    const QByteArray entry = QByteArray(kXlsxMimeType) + "=calc.desktop;\n";
    dir.file(QStringLiteral("config/mimeapps.list"), "[Removed Associations]\n" + entry);
    EXPECT_FALSE(desktopOpensXlsx());
    dir.file(QStringLiteral("share/applications/mimeinfo.cache"), "[MIME Cache]\ntext/plain=edit.desktop;\n" + entry);
    EXPECT_TRUE(desktopOpensXlsx());
}

} // namespace
} // namespace hv::test
