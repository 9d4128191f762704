#include "output/ResultsWorkbook.h"
#include "core/ErrorTrap.h"
#include "output/WorkbookExport.h"
#include "platform/Failure.h"
#include "support/Fakes.h"
#include "support/ResultsList.h"

#include <gtest/gtest.h>

namespace hv::test {
namespace {

// The fill of a workbook, as the button runs it, over the recording link.
struct WorkbookFill {
    FakeSpreadsheetLink link;
    FakeEventPump events;
    FakeMessageBox messages;

    void run(const ListViewModel& list) {
        ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));
        ResultsWorkbook(list, link, events).fill(trap);
    }
    QString cell(int row, int column) const {
        const auto found = link.cells.find({row, column});
        return found == link.cells.end() ? QStringLiteral("<none>") : found->second;
    }
};

TEST(WorkbookFill, TwoRowsGiveHeadersThenPathsAndLayerNamesInCallOrder) {
    WorkbookFill fill;
    fill.run(*resultsList({{QStringLiteral("/art/a.psd"), QStringLiteral("Logo")},
                           {QStringLiteral("/art/poster.psd"), QStringLiteral("Logo copy")}}));
    EXPECT_EQ(fill.link.log,
              QStringList({"create", "add", "cell 1 1 File", "cell 1 2 Layer Name", "cell 2 1 /art/a.psd",
                           "cell 2 2 Logo", "cell 3 1 /art/poster.psd", "cell 3 2 Logo copy", "autofit", "visible"}));
    EXPECT_TRUE(fill.messages.shown.empty());
}

TEST(WorkbookFill, RowsRemovedDuringTheFillChangeWhatIsReadWithoutAReport) {
    auto list = resultsList({{QStringLiteral("/a"), QStringLiteral("x")},
                             {QStringLiteral("/b"), QStringLiteral("y")},
                             {QStringLiteral("/c"), QStringLiteral("z")}});
    WorkbookFill fill;
    // Events: two of the header pass, then per row one plus one per cell.
    // The 8th runs before the second cell of row 2, and takes row 3 away.
    fill.events.onEvents = [&](int call) {
        if (call == 8) list->removeItem(3);
    };
    fill.run(*list);
    EXPECT_TRUE(fill.messages.shown.empty());
    EXPECT_EQ(fill.cell(3, 2), QStringLiteral("y"));
    EXPECT_EQ(fill.cell(4, 1), QStringLiteral("<none>"));

    // Row 2 goes before its second cell is read: that cell comes from the
    // row that took its place.
    WorkbookFill second;
    auto longer = resultsList({{QStringLiteral("/a"), QStringLiteral("x")},
                               {QStringLiteral("/b"), QStringLiteral("y")},
                               {QStringLiteral("/c"), QStringLiteral("z")}});
    second.events.onEvents = [&](int call) {
        if (call == 8) longer->removeItem(2);
    };
    second.run(*longer);
    EXPECT_TRUE(second.messages.shown.empty());
    EXPECT_EQ(second.cell(3, 1), QStringLiteral("/b"));
    EXPECT_EQ(second.cell(3, 2), QStringLiteral("z"));
}

TEST(WorkbookFill, ListClearedMidRowIsReportedOnceAt158) {
    auto list = resultsList({{QStringLiteral("/a"), QStringLiteral("x")}, {QStringLiteral("/b"), QStringLiteral("y")}});
    WorkbookFill fill;
    fill.events.onEvents = [&](int call) {
        if (call == 5) list->clearItems(); // before the second cell of row 1
    };
    fill.run(*list);
    ASSERT_EQ(fill.messages.shown.size(), 1u);
    EXPECT_TRUE(fill.messages.shown[0].text.startsWith(
        QStringLiteral("Index out of bounds\r\nin Velquist2021/08/31.Form1.PushButton13_Click at line 158\r\r")));
    EXPECT_EQ(fill.cell(2, 1), QStringLiteral("/a"));
    EXPECT_EQ(fill.link.log.mid(fill.link.log.size() - 2), QStringList({"autofit", "visible"}));
}

// A workbook that refuses every cell from a given row on.
class RefusingLink : public SpreadsheetLink {
public:
    explicit RefusingLink(int fromRow) : fromRow_(fromRow) {}
    std::unique_ptr<SpreadsheetApplication> create() override { return std::make_unique<App>(*this); }
    int cellCalls = 0;

private:
    struct Book : SpreadsheetWorkbook {
        explicit Book(RefusingLink& link) : link_(link) {}
        void setCell(std::int32_t row, std::int32_t, const QString&) override {
            ++link_.cellCalls;
            if (row >= link_.fromRow_) throw Failure(QStringLiteral("Row beyond the sheet"));
        }
        void autoFitColumns() override {}
        RefusingLink& link_;
    };
    struct App : SpreadsheetApplication {
        explicit App(RefusingLink& link) : book(link) {}
        SpreadsheetWorkbook& addWorkbook() override { return book; }
        void setVisible(bool) override {}
        Book book;
    };
    int fromRow_;
};

TEST(WorkbookFill, AfterTheSpreadsheetRefusesACellNoMoreCellsAreSent) {
    std::vector<std::pair<QString, QString>> rows(50, {QStringLiteral("/a"), QStringLiteral("b")});
    RefusingLink link(3);
    FakeEventPump events;
    FakeMessageBox messages;
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));
    auto list = resultsList(rows);
    ResultsWorkbook(*list, link, events).fill(trap);
    EXPECT_EQ(link.cellCalls, 5);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("Row beyond the sheet\r\nin Velquist2021/08/31.Form1."
                                                                 "PushButton13_Click at line 154")));
}

TEST(SpreadsheetCheck, MissingApplicationShowsTheSoftwareMessageOnly) {
    FakeSpreadsheetLink link;
    FakeMessageBox messages;
    EXPECT_TRUE(SpreadsheetInstalled(link, messages, "Halvorine"));
    EXPECT_TRUE(messages.shown.empty());
    link.failCreate = true;
    EXPECT_FALSE(SpreadsheetInstalled(link, messages, "Halvorine"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Excel is not installed on this computer. You need to have "
                                                           "it installed to use this software without error.")});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
}

} // namespace
} // namespace hv::test
