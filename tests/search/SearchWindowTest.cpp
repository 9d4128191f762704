#include "support/SearchWindowFixture.h"

#include <QFile>

namespace hv::test {
namespace {

using psd::testing::Format;
using SearchWindow = SearchWindowFixture;

TEST_F(SearchWindow, MatchCaseKeepsCaseAndIgnoreCaseFindsEveryCaseButShowsTheNameAsWritten) {
    const QString a = document("a.psd", {"Logo", "logo small", "Text", "LOGO big"});
    const QString b = document("b.psb", {QString::fromUtf8("\u00c4RGER Logo"), "Background"}, Format::Psb);
    list({a, b});

    search("Logo", CaseOption::MatchCase);
    EXPECT_EQ(rows(), (QStringList{a + "|Logo", b + QString::fromUtf8("|\u00c4RGER Logo")}));
    EXPECT_EQ(fakes.messages.texts(), QStringList{"Done."});

    search("logo", CaseOption::IgnoreCase);
    EXPECT_EQ(rows(), (QStringList{a + "|Logo", a + "|logo small", a + "|LOGO big",
                                   b + QString::fromUtf8("|\u00c4RGER Logo")}));

    form->Text1->setText(QString::fromUtf8("\u00e4rger"));
    clickStartSearching();
    EXPECT_EQ(rows(), QStringList{b + QString::fromUtf8("|\u00c4RGER Logo")});
    for (int row = 1; row <= form->ListView2->items().itemCount(); ++row)
        EXPECT_FALSE(form->ListView2->items().isChecked(row));
    EXPECT_TRUE(reportedLines().empty());
}

TEST_F(SearchWindow, EmptySearchTextListsEveryItemWithANameOncePerItem) {
    const QString path = document("a.psd", {"Top", "", "Middle", "Top"});
    list({path});

    search("");

    EXPECT_EQ(rows(), (QStringList{path + "|Top", path + "|Middle", path + "|Top"}));
}

TEST_F(SearchWindow, SeveralMatchesInOneDocumentComeInItemOrderGroupsIncluded) {
    psd::testing::PsdWriter writer;
    writer.layer(u"Logo front");
    writer.beginGroup(u"Logo group");
    writer.layer(u"Inner logo");
    writer.endGroup();
    writer.layer(u"Back");
    writer.layer(u"Logo back");
    const QString path = docs.path("grouped.psd");
    writer.writeFile(QFile::encodeName(path).toStdString());
    list({path});

    search("logo");

    EXPECT_EQ(rows(),
              (QStringList{path + "|Logo front", path + "|Logo group", path + "|Inner logo", path + "|Logo back"}));
}

TEST_F(SearchWindow, TheSamePathListedTwiceIsSearchedTwice) {
    const QString path = document("a.psd", {"Logo", "Text"});
    list({path, path});

    search("Logo", CaseOption::MatchCase);

    EXPECT_EQ(rows(), (QStringList{path + "|Logo", path + "|Logo"}));
}

TEST_F(SearchWindow, ADocumentWithoutItemsGivesNoRowAndNoReport) {
    const QString empty = document("empty.psd", {});
    const QString other = document("other.psd", {"Logo"});
    list({empty, other});

    search("");

    EXPECT_EQ(rows(), QStringList{other + "|Logo"});
    EXPECT_EQ(fakes.messages.texts(), QStringList{"Done."});
}

TEST_F(SearchWindow, AMissingFileAndANonPsdFileAreReportedOnceEachAndTheRunFinishes) {
    const QString a = document("a.psd", {"Logo"});
    const QString missing = docs.path("missing.psd");
    const QString text = docs.file("notes.psd", "These are notes, not a layered document.\n");
    const QString b = document("b.psd", {"Logo 2"});
    list({a, missing, text, b});

    search("logo");

    EXPECT_EQ(reportedLines(), (std::vector<int>{118, 118}));
    ASSERT_EQ(fakes.messages.shown.size(), 3u);
    EXPECT_TRUE(fakes.messages.shown[0].text.contains(missing));
    EXPECT_TRUE(fakes.messages.shown[1].text.contains(text));
    EXPECT_TRUE(fakes.messages.shown[0].text.contains("in Velquist2021/08/31.Form1.PushButton7_Click at line 118"));
    EXPECT_EQ(fakes.messages.shown[2].text, "Done.");
    EXPECT_EQ(rows(), (QStringList{a + "|Logo", b + "|Logo 2"}));
    EXPECT_TRUE(fakes.desktop.documents.isEmpty()) << "nothing is shown to the user during a run";
    expectAtRest();
}

TEST_F(SearchWindow, ProgressShowsEachDocumentRoundedThenReturnsToRest) {
    list({document("one.psd", {"x"}), document("two.psd", {"x"}), document("three.psd", {"x"})});
    struct Seen {
        double value;
        int shown;
        QString text;
        Pointer pointer;
    };
    std::vector<Seen> seen;
    fakes.events.onEvents = [&](int) {
        const QString text = form->ProgressBar1->text();
        if (!seen.empty() && seen.back().text == text) return;
        seen.push_back({form->ProgressBar1->value(), form->ProgressBar1->QProgressBar::value(), text, form->pointer()});
    };

    search("x");

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_NEAR(seen[0].value, 33.3, 0.05);
    EXPECT_NEAR(seen[1].value, 66.7, 0.05);
    EXPECT_DOUBLE_EQ(seen[2].value, 100.0);
    EXPECT_EQ(seen[0].shown, 33);
    EXPECT_EQ(seen[1].shown, 67);
    EXPECT_EQ(seen[2].shown, 100);
    EXPECT_EQ(seen[0].text, "Processing: one.psd");
    EXPECT_EQ(seen[1].text, "Processing: two.psd");
    EXPECT_EQ(seen[2].text, "Processing: three.psd");
    for (const Seen& s : seen) EXPECT_EQ(s.pointer, Pointer::Hourglass);
    expectAtRest();
    EXPECT_EQ(rows().size(), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->ListView2->model()->rowCount() == 3; }))
        << "every row reaches the view";
}

TEST_F(SearchWindow, AnEmptyFileListSaysSoAndLeavesThePreviousResultsUntouched) {
    const QString path = document("a.psd", {"Logo", "Logo 2"});
    list({path});
    search("logo");
    form->ListView2->items().setChecked(2, true);
    form->ListView1->items().clearItems();
    fakes.messages.shown.clear();
    form->setPointer(Pointer::Custom);
    form->ProgressBar1->setValue(40.5);
    form->ProgressBar1->setText("Processing: a.psd");

    clickStartSearching();

    EXPECT_EQ(fakes.messages.texts(), QStringList{"No files added."});
    EXPECT_EQ(fakes.messages.shown[0].title, "Halvorine");
    EXPECT_EQ(rows(), (QStringList{path + "|Logo", path + "|Logo 2"}));
    EXPECT_TRUE(form->ListView2->items().isChecked(2));
    EXPECT_EQ(form->pointer(), Pointer::Custom);
    EXPECT_EQ(form->ProgressBar1->value(), 40.5);
    EXPECT_EQ(form->ProgressBar1->text(), "Processing: a.psd");
    EXPECT_FALSE(form->searching());
}

TEST_F(SearchWindow, ASecondClickDuringARunIsIgnored) {
    const QString a = document("a.psd", {"Logo"});
    const QString b = document("b.psd", {"Logo"});
    list({a, b});
    int clicks = 0;
    fakes.events.onEvents = [&](int call) {
        if (call == 2 || call == 3) {
            ++clicks;
            clickStartSearching();
        }
    };

    search("logo");

    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(fakes.messages.texts(), QStringList{"Done."});
    EXPECT_EQ(rows(), (QStringList{a + "|Logo", b + "|Logo"}));
    expectAtRest();

    fakes.events.onEvents = nullptr;
    clickStartSearching();
    EXPECT_EQ(fakes.messages.texts(), (QStringList{"Done.", "Done."})) << "a later click searches again";
}

TEST_F(SearchWindow, ChangesMadeWhileEventsRunApplyFromTheNextLayer) {
    const QString path = document("a.psd", {"Logo", "Text", "TEXT"});
    list({path});
    fakes.events.onEvents = [&](int call) {
        if (call == 3) form->Text1->setText("text");
        if (call == 4) QTest::mouseClick(form->Option1, Qt::LeftButton);
    };

    search("logo");

    EXPECT_EQ(rows(), (QStringList{path + "|Logo", path + "|Text"}));
}

TEST_F(SearchWindow, ClosingTheWindowDuringARunEndsTheProgram) {
    list({document("a.psd", {"Logo"}), document("b.psd", {"Logo"})});
    fakes.events.onEvents = [&](int call) {
        if (call == 2) form->close();
    };

    search("logo");

    EXPECT_EQ(fakes.appExit.calls, 1);
}

// Counts the paints of a widget and notes the caption each one drew.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(ProgressBar* bar) : bar_(bar) { bar->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastDrawn = bar_->text();
        }
        return false;
    }
    int paints = 0;
    QString lastDrawn;

private:
    ProgressBar* bar_;
};

TEST_F(SearchWindow, ProgressCaptionRepaintsAreCoalescedAndTheLastCaptionIsDrawn) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    PaintCounter counter(form->ProgressBar1);
    for (int i = 1; i <= 1000; ++i) {
        form->ProgressBar1->setText(QStringLiteral("Processing: %1.psd").arg(i));
        QCoreApplication::processEvents();
    }
    EXPECT_LT(counter.paints, 100) << "a repaint per caption would be 1000";
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.lastDrawn == "Processing: 1000.psd"; }))
        << "the last caption is drawn once the changes stop";
}

} // namespace
} // namespace hv::test
