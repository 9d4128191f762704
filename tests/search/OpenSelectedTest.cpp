#include "support/SearchWindowFixture.h"

namespace hv::test {
namespace {

using OpenSelected = SearchWindowFixture;

TEST_F(OpenSelected, WithNoResultRowsNothingHappens) {
    QTest::mouseClick(form->PushButton3, Qt::LeftButton);

    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_TRUE(fakes.desktop.documents.isEmpty());
}

TEST_F(OpenSelected, TheSelectedRowsDocumentIsShownInTheUsersEditor) {
    const QString a = document("a.psd", {"Logo"});
    const QString b = document("b.psd", {"Logo 2"});
    list({a, b});
    search("logo");
    form->ListView2->selectItem(2);

    QTest::mouseClick(form->PushButton3, Qt::LeftButton);
    QTest::mouseClick(form->PushButton3, Qt::LeftButton);

    EXPECT_EQ(fakes.desktop.documents, (QStringList{b, b}));
    EXPECT_EQ(fakes.messages.texts(), QStringList{"Done."});
}

TEST_F(OpenSelected, OnlyTheFileCellCounts) {
    form->ListView2->items().addItem(QStringList{document("a.psd", {"x"}), "no such layer"});
    form->ListView2->selectItem(1);

    QTest::mouseClick(form->PushButton3, Qt::LeftButton);

    EXPECT_EQ(fakes.desktop.documents, QStringList{docs.path("a.psd")});
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(OpenSelected, WithoutASelectionBothTheRowAndTheEmptyPathAreReported) {
    list({document("a.psd", {"Logo"})});
    search("logo");
    fakes.messages.shown.clear();
    form->ListView2->clearSelection();

    QTest::mouseClick(form->PushButton3, Qt::LeftButton);

    EXPECT_EQ(reportedLines(), (std::vector<int>{102, 106}));
    EXPECT_TRUE(fakes.messages.shown[0].text.contains("in Velquist2021/08/31.Form1.PushButton3_Click at line 102"));
    EXPECT_TRUE(fakes.desktop.documents.isEmpty());
}

TEST_F(OpenSelected, AVanishedFileIsReportedAndNothingIsShown) {
    const QString path = document("a.psd", {"Logo"});
    list({path});
    search("logo");
    fakes.messages.shown.clear();
    ASSERT_TRUE(QFile::remove(path));
    form->ListView2->selectItem(1);

    QTest::mouseClick(form->PushButton3, Qt::LeftButton);

    EXPECT_EQ(reportedLines(), std::vector<int>{106});
    EXPECT_TRUE(fakes.messages.shown[0].text.contains(path));
    EXPECT_TRUE(fakes.desktop.documents.isEmpty());
}

TEST_F(OpenSelected, ADocumentNoOtherApplicationOpensIsReported) {
    const QString path = document("a.psd", {"Logo"});
    form->ListView2->items().addItem(QStringList{path, "Logo"});
    form->ListView2->selectItem(1);
    fakes.desktop.takes = false;

    QTest::mouseClick(form->PushButton3, Qt::LeftButton);

    EXPECT_EQ(reportedLines(), std::vector<int>{106});
    EXPECT_TRUE(fakes.messages.shown[0].text.contains("no application other than this program to open \"" + path));
}

TEST_F(OpenSelected, WorksWhileASearchRunLetsEventsRun) {
    const QString a = document("a.psd", {"Logo"});
    const QString b = document("b.psd", {"Logo"});
    list({a, b});
    fakes.events.onEvents = [&](int call) {
        if (call == 3) { // before the second document: the first one's row is there
            form->ListView2->selectItem(1);
            QTest::mouseClick(form->PushButton3, Qt::LeftButton);
        }
    };

    search("logo");

    EXPECT_EQ(fakes.desktop.documents, QStringList{a});
    EXPECT_EQ(rows(), (QStringList{a + "|Logo", b + "|Logo"}));
    EXPECT_EQ(fakes.messages.texts(), QStringList{"Done."});
}

} // namespace
} // namespace hv::test
