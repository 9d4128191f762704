#include "SearchRunFixture.h"

namespace hv::test {
namespace {

using SearchRunFailures = SearchRunFixture;

TEST_F(SearchRunFailures, ADocumentThatCannotBeOpenedIsReportedOnceAndTheRunGoesOn) {
    link.addDocument("/art/a.psd", {"Logo"});
    link.addDocument("/art/b.psd", {"Logo"});
    list({"/art/a.psd", "/art/missing.psd", "/art/b.psd"});

    run();

    EXPECT_EQ(reportedLines(), std::vector<int>{118});
    EXPECT_EQ(messages.shown[0].text,
              "Could not open \"/art/missing.psd\"\r\nin Velquist2021/08/31.Form1.PushButton7_Click at line 118\r\r"
              "Please email screenshot of this message to support@halvorine.example");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(link.log,
              (QStringList{"create", "open /art/a.psd", "count", "name 1", "name 1", "close", "open /art/missing.psd",
                           "open /art/b.psd", "count", "name 1", "name 1", "close", "quit"}));
    EXPECT_EQ(rows(), (QStringList{"/art/a.psd|Logo", "/art/b.psd|Logo"}));
    EXPECT_EQ(messages.shown.back().text, "Done.");
    EXPECT_EQ(progress.text(), "Progress Bar");
}

TEST_F(SearchRunFailures, WithoutTheReaderEveryDocumentAndTheQuitAreReportedAndTheRunStillEnds) {
    link.failCreate = true;
    list({"/art/a.psd", "/art/b.psd"});

    run();

    EXPECT_EQ(reportedLines(), (std::vector<int>{110, 118, 118, 146}));
    EXPECT_EQ(notices(), QStringList{"Done."});
    EXPECT_EQ(messages.shown.back().text, "Done.");
    EXPECT_EQ(link.log, QStringList{"create"});
    EXPECT_EQ(pointer.current, Pointer::Default);
    EXPECT_EQ(progress.value(), 0.0);
    EXPECT_EQ(progress.text(), "Progress Bar");
}

TEST_F(SearchRunFailures, AnUnreadableLayerCountIsReportedAndTheDocumentIsStillClosed) {
    link.addDocument("/art/bad.psd", {"Logo"});
    link.addDocument("/art/b.psd", {"Logo"});
    link.failCount.insert("/art/bad.psd");
    list({"/art/bad.psd", "/art/b.psd"});

    run();

    EXPECT_EQ(reportedLines(), std::vector<int>{120});
    EXPECT_EQ(link.log.mid(0, 5), (QStringList{"create", "open /art/bad.psd", "count", "close", "open /art/b.psd"}));
    EXPECT_EQ(rows(), QStringList{"/art/b.psd|Logo"});
    EXPECT_EQ(link.openDocuments, 0);
}

TEST_F(SearchRunFailures, AnUnreadableNameIsReportedAtItsComparisonAndGivesNoRow) {
    link.addDocument("/art/a.psd", {"Logo 1", "Logo 2", "Logo 3"});
    list({"/art/a.psd"});
    link.failName.insert({"/art/a.psd", 2, 1});
    searchText = "Logo";
    option = CaseOption::MatchCase;

    run();
    EXPECT_EQ(reportedLines(), std::vector<int>{124});
    EXPECT_EQ(rows(), (QStringList{"/art/a.psd|Logo 1", "/art/a.psd|Logo 3"}));
    EXPECT_TRUE(link.log.contains("close"));

    messages.shown.clear();
    option = CaseOption::IgnoreCase;
    run();
    EXPECT_EQ(reportedLines(), std::vector<int>{132});
    EXPECT_EQ(rows(), (QStringList{"/art/a.psd|Logo 1", "/art/a.psd|Logo 3"}));
}

TEST_F(SearchRunFailures, ANameThatCannotBeReadAgainForItsCellLeavesNoHalfFilledRow) {
    link.addDocument("/art/a.psd", {"Logo 1", "Logo 2"});
    list({"/art/a.psd"});
    link.failName.insert({"/art/a.psd", 1, 2});
    searchText = "logo";

    run();
    EXPECT_EQ(reportedLines(), std::vector<int>{136});
    EXPECT_EQ(rows(), QStringList{"/art/a.psd|Logo 2"});

    messages.shown.clear();
    searchText = "Logo";
    option = CaseOption::MatchCase;
    run();
    EXPECT_EQ(reportedLines(), std::vector<int>{128});
    EXPECT_EQ(rows(), QStringList{"/art/a.psd|Logo 2"});
}

TEST_F(SearchRunFailures, AFailedCloseOrQuitIsReportedAndTheRunStillEnds) {
    link.addDocument("/art/a.psd", {"Logo"});
    link.addDocument("/art/b.psd", {"Logo"});
    link.failClose.insert("/art/a.psd");
    link.failQuit = true;
    list({"/art/a.psd", "/art/b.psd"});

    run();

    EXPECT_EQ(reportedLines(), (std::vector<int>{140, 146}));
    EXPECT_EQ(rows(), (QStringList{"/art/a.psd|Logo", "/art/b.psd|Logo"}));
    EXPECT_EQ(messages.shown.back().text, "Done.");
    EXPECT_EQ(pointer.current, Pointer::Default);
}

TEST_F(SearchRunFailures, AtMostOneDocumentIsOpenAtATimeAndEveryOpenedOneIsClosed) {
    const QStringList paths = {"/a.psd", "/gone.psd", "/count.psd", "/name.psd", "/b.psd"};
    for (const QString& path : paths)
        if (path != "/gone.psd") link.addDocument(path, {"x1", "x2"});
    link.failCount.insert("/count.psd");
    link.failName.insert({"/name.psd", 1, 1});
    list(paths);
    searchText = "x";
    int mostOpen = 0;
    link.onOpen = [&](const QString&) { mostOpen = std::max(mostOpen, link.openDocuments); };

    run();

    EXPECT_EQ(mostOpen, 0);
    EXPECT_EQ(link.openDocuments, 0);
    EXPECT_EQ(link.log.count("close"), 4);
    EXPECT_EQ(link.log.filter("release").size(), 0);
    EXPECT_EQ(reportedLines(), (std::vector<int>{118, 120, 132}));
    EXPECT_EQ(rows(), (QStringList{"/a.psd|x1", "/a.psd|x2", "/name.psd|x2", "/b.psd|x1", "/b.psd|x2"}));
}

} // namespace
} // namespace hv::test
