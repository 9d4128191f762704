#include "SearchRunFixture.h"

#include "platform/Failure.h"

namespace hv::test {
namespace {

using SearchRunSteps = SearchRunFixture;

TEST_F(SearchRunSteps, EmptyFileListSaysNoFilesAddedAndChangesNothingElse) {
    results.addItem(QStringList{"/old/a.psd", "Logo"});
    results.setChecked(1, true);
    pointer.current = Pointer::Custom;
    progress.setValue(40);
    progress.setText("Processing: a.psd");
    progress.values.clear();
    progress.texts.clear();

    run();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "No files added.");
    EXPECT_EQ(messages.shown[0].title, appTitle);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(rows(), QStringList{"/old/a.psd|Logo"});
    EXPECT_TRUE(results.isChecked(1));
    EXPECT_TRUE(pointer.changes.empty());
    EXPECT_EQ(pointer.current, Pointer::Custom);
    EXPECT_TRUE(progress.values.empty());
    EXPECT_TRUE(progress.texts.empty());
    EXPECT_TRUE(link.log.isEmpty());
    EXPECT_EQ(events.calls, 0);
}

TEST_F(SearchRunSteps, OpensEveryDocumentInListOrderClosesEachAndQuitsOnce) {
    link.addDocument("/art/a.psd", {"One", "Two"});
    link.addDocument("/art/b.psd", {"Three"});
    list({"/art/a.psd", "/art/b.psd"});
    searchText = "nothing like it";

    run();

    EXPECT_EQ(link.log, (QStringList{"create", "open /art/a.psd", "count", "name 1", "name 2", "close",
                                     "open /art/b.psd", "count", "name 1", "close", "quit"}));
    EXPECT_EQ(messages.texts(), QStringList{"Done."});
    EXPECT_EQ(messages.shown[0].title, appTitle);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(link.openDocuments, 0);
}

TEST_F(SearchRunSteps, ANewRunClearsThePreviousResultsEvenWhenItFindsNothing) {
    results.addItem(QStringList{"/old/x.psd", "Old"});
    link.addDocument("/art/a.psd", {"Layer"});
    list({"/art/a.psd"});
    searchText = "absent";

    run();

    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(notices(), QStringList{"Done."});
}

TEST_F(SearchRunSteps, ProgressIsSetBeforeEachOpenFromTheCurrentRowCountAndReturnsToRest) {
    for (const char* path : {"/art/one.psd", "/art/sub/two.psd", "three.psd"}) {
        link.addDocument(path, {"Layer"});
        files.addItem(path);
    }
    std::vector<double> atOpen;
    QStringList textAtOpen;
    link.onOpen = [&](const QString&) {
        atOpen.push_back(progress.value());
        textAtOpen << progress.text();
    };

    run();

    ASSERT_EQ(atOpen.size(), 3u);
    EXPECT_DOUBLE_EQ(atOpen[0], 1.0 / 3 * 100);
    EXPECT_DOUBLE_EQ(atOpen[1], 2.0 / 3 * 100);
    EXPECT_DOUBLE_EQ(atOpen[2], 100.0);
    EXPECT_NEAR(atOpen[0], 33.3, 0.05);
    EXPECT_NEAR(atOpen[1], 66.7, 0.05);
    EXPECT_EQ(textAtOpen, (QStringList{"Processing: one.psd", "Processing: two.psd", "Processing: three.psd"}));
    EXPECT_EQ(progress.value(), 0.0);
    EXPECT_EQ(progress.text(), "Progress Bar");
    EXPECT_EQ(progress.values.back(), 0.0);
}

TEST_F(SearchRunSteps, EventsRunOnceBeforeEachDocumentAndOnceBeforeEachLayer) {
    link.addDocument("/art/a.psd", {"1", "2", "3"});
    link.addDocument("/art/none.psd", {});
    link.addDocument("/art/b.psd", {"1", "2"});
    list({"/art/a.psd", "/art/none.psd", "/art/b.psd"});
    option = CaseOption::MatchCase;
    events.onEvents = [&](int) { link.log << "events"; };

    run();

    EXPECT_EQ(events.calls, 3 + 5);
    EXPECT_EQ(link.log, (QStringList{"create", "events", "open /art/a.psd", "count",
                                     "events", "name 1", "name 1",          "events",
                                     "name 2", "name 2", "events",          "name 3",
                                     "name 3", "close",  "events",          "open /art/none.psd",
                                     "count",  "close",  "events",          "open /art/b.psd",
                                     "count",  "events", "name 1",          "name 1",
                                     "events", "name 2", "name 2",          "close",
                                     "quit"}));
}

TEST_F(SearchRunSteps, SearchTextAndCaseOptionChangedWhileEventsRunApplyFromTheNextLayer) {
    link.addDocument("/art/a.psd", {"alpha", "beta", "ALPHA beta", "Beta"});
    list({"/art/a.psd"});
    searchText = "alpha";
    option = CaseOption::MatchCase;
    // Call 1 is before the document, call n + 1 before layer n.
    events.onEvents = [&](int call) {
        if (call == 3) searchText = "beta";
        if (call == 5) option = CaseOption::IgnoreCase;
    };

    run();

    EXPECT_EQ(rows(), (QStringList{"/art/a.psd|alpha", "/art/a.psd|beta", "/art/a.psd|ALPHA beta", "/art/a.psd|Beta"}));
}

TEST_F(SearchRunSteps, WithNeitherCaseOptionNoLayerIsCompared) {
    link.addDocument("/art/a.psd", {"Logo", "Text"});
    list({"/art/a.psd"});
    option = CaseOption::Neither;

    run();

    EXPECT_EQ(link.log, (QStringList{"create", "open /art/a.psd", "count", "close", "quit"}));
    EXPECT_EQ(events.calls, 3);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(messages.texts(), QStringList{"Done."});
}

TEST_F(SearchRunSteps, RowsAddedDuringTheRunAreNotSearchedButLowerTheProgress) {
    link.addDocument("/art/a.psd", {"Layer"});
    link.addDocument("/art/b.psd", {"Layer"});
    link.addDocument("/art/late.psd", {"Layer"});
    list({"/art/a.psd", "/art/b.psd"});
    events.onEvents = [&](int call) {
        if (call == 1) files.addItem(QStringLiteral("/art/late.psd"));
    };
    std::vector<double> atOpen;
    link.onOpen = [&](const QString&) { atOpen.push_back(progress.value()); };

    run();

    EXPECT_FALSE(link.log.contains("open /art/late.psd"));
    ASSERT_EQ(atOpen.size(), 2u);
    EXPECT_DOUBLE_EQ(atOpen[0], 50.0); // set before the row was added
    EXPECT_DOUBLE_EQ(atOpen[1], 2.0 / 3 * 100);
    EXPECT_EQ(rows(), (QStringList{"/art/a.psd|Layer", "/art/b.psd|Layer"}));
}

TEST_F(SearchRunSteps, RowsRemovedDuringTheRunAreReportedAndNoDocumentIsSearchedTwice) {
    link.addDocument("/art/a.psd", {"Layer"});
    link.addDocument("/art/b.psd", {"Layer"});
    link.addDocument("/art/c.psd", {"Layer"});
    list({"/art/a.psd", "/art/b.psd", "/art/c.psd"});
    events.onEvents = [&](int call) {
        if (call == 1) {
            files.removeItem(3);
            files.removeItem(2);
        }
    };

    run();

    EXPECT_EQ(link.log.filter("open "), QStringList{"open /art/a.psd"});
    EXPECT_EQ(reportedLines(), (std::vector<int>{116, 116}));
    EXPECT_TRUE(messages.shown[0].text.startsWith("Index out of bounds\r\n"));
    EXPECT_EQ(rows(), QStringList{"/art/a.psd|Layer"});
    EXPECT_EQ(notices(), QStringList{"Done."});
}

TEST_F(SearchRunSteps, HourglassFromStartToEndAndSetAgainBeforeEachOpen) {
    link.addDocument("/art/a.psd", {"Layer"});
    link.addDocument("/art/b.psd", {"Layer"});
    list({"/art/a.psd", "/art/b.psd"});
    // Another long operation ends while events run and resets the pointer.
    events.onEvents = [&](int) { pointer.current = Pointer::Default; };
    std::vector<Pointer> atOpen;
    link.onOpen = [&](const QString&) { atOpen.push_back(pointer.current); };
    Pointer atDone = Pointer::Hourglass;
    messages.onShow = [&](const Message&) { atDone = pointer.current; };

    run();

    EXPECT_EQ(atOpen, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Hourglass}));
    EXPECT_EQ(pointer.changes,
              (std::vector<Pointer>{Pointer::Hourglass, Pointer::Hourglass, Pointer::Hourglass, Pointer::Default}));
    EXPECT_EQ(atDone, Pointer::Default);
}

TEST_F(SearchRunSteps, ResultsClearedDuringTheRunDoNotDisturbIt) {
    link.addDocument("/art/a.psd", {"Layer"});
    link.addDocument("/art/b.psd", {"Layer"});
    list({"/art/a.psd", "/art/b.psd"});
    events.onEvents = [&](int call) {
        if (call == 3) results.clearItems(); // "Clear Results" before the second document
    };

    run();

    EXPECT_EQ(rows(), QStringList{"/art/b.psd|Layer"});
    EXPECT_EQ(messages.texts(), QStringList{"Done."});
}

} // namespace
} // namespace hv::test
