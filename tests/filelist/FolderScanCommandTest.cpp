// "Add All PSD File(s) In Folder": the prompt, the folder browser, the
// settings and the scan of a real temporary tree.
#include "FileListFixture.h"
#include "platform/qt/QSettingsStore.h"
#include "support/TestFileSystems.h"

namespace hv::test {
namespace {

class FolderScanCommand : public FileListFixture {
protected:
    QString p(const QString& relative) const { return tree.path(relative); }
    void makeTree() {
        for (const char* name : {"top/a.psd", "top/notes.txt", "top/README", "top/x..psd", "top/Sub/B.PSD",
                                 "top/Sub/deep/c.psd", "top/alpha/d.psd"})
            tree.file(name);
    }
    void answer(const QString& extension, const QString& folder = QString()) {
        fakes.input.answers.push_back(extension);
        if (!folder.isNull()) fakes.dialogs.browseAnswers.push_back(folder);
    }
    QStringList browsedFrom() const {
        QStringList starts;
        for (const auto& call : fakes.dialogs.calls)
            if (call.kind == "browse") starts.append(call.filterOrStart);
        return starts;
    }

    TempDir tree;
    TempDir settingsFolder;
};

TEST_F(FolderScanCommand, CancelAtEachStepStoresOnlyWhatWasAnswered) {
    const QString file = settingsFolder.path("halvorine.ini");
    QSettingsStore store(file);
    load(nullptr, &store);
    click(form->PushButton6); // the prompt cancelled
    answer("");               // an empty answer
    click(form->PushButton6);
    ASSERT_EQ(fakes.input.calls.size(), 2u);
    EXPECT_EQ(fakes.input.calls[0].prompt,
              "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)");
    EXPECT_EQ(fakes.input.calls[0].title, form->appTitle());
    EXPECT_EQ(fakes.input.calls[1].defaultAnswer, "psd");
    EXPECT_TRUE(browsedFrom().isEmpty());
    EXPECT_EQ(QSettingsStore(file).readSetting("Extension", "(none)"), "(none)");

    answer("txt", ""); // the folder dialog cancelled
    click(form->PushButton6);
    EXPECT_EQ(QSettingsStore(file).readSetting("Extension", "psd"), "txt");
    EXPECT_EQ(QSettingsStore(file).readSetting("LastFolder", "(none)"), "(none)");
    answer("txt", "");
    click(form->PushButton6);
    EXPECT_EQ(fakes.input.calls.back().defaultAnswer, "txt");
    EXPECT_EQ(browsedFrom(), (QStringList{"", ""}));
    EXPECT_EQ(fakes.dialogs.calls.back().title, "Please select folder:");
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(FolderScanCommand, AChosenFolderIsStoredAndScannedLevelByLevel) {
    makeTree();
    const QString file = settingsFolder.path("halvorine.ini");
    QSettingsStore store(file);
    load(nullptr, &store);
    addRows({"/earlier.psd"});
    answer("psd", p("top"));
    click(form->PushButton6);
    EXPECT_EQ(rows(), (QStringList{"/earlier.psd", p("top/a.psd"), p("top/x..psd"), p("top/alpha/d.psd"),
                                   p("top/Sub/B.PSD"), p("top/Sub/deep/c.psd")}));
    EXPECT_EQ(QSettingsStore(file).readSetting("LastFolder", ""), p("top"));
    EXPECT_EQ(form->pointer(), Pointer::Default);
    answer("psd", "");
    click(form->PushButton6);
    EXPECT_EQ(browsedFrom(), (QStringList{"", p("top")}));
}

TEST_F(FolderScanCommand, StarAddsEveryFileAndALeadingDotIsKept) {
    makeTree();
    load();
    answer("*", p("top"));
    click(form->PushButton6);
    EXPECT_EQ(rows().size(), 7);
    EXPECT_TRUE(rows().contains(p("top/README")));
    fileList().clearItems();
    answer(".psd", p("top"));
    click(form->PushButton6);
    EXPECT_EQ(rows(), QStringList{p("top/x..psd")});
}

TEST_F(FolderScanCommand, TheHourglassShowsWhileScanningAndRemovalsWaitForIt) {
    makeTree();
    load();
    addRows({"/one.psd"});
    form->ListView1->selectItem(1);
    bool sawHourglass = false;
    fakes.events.onEvents = [&](int) {
        sawHourglass = form->pointer() == Pointer::Hourglass;
        QTest::keyClick(form->ListView1, Qt::Key_Delete);
        form->ListView1_DblClick();
        click(form->PushButton5);
    };
    answer("psd", p("top"));
    click(form->PushButton6);
    EXPECT_TRUE(sawHourglass);
    EXPECT_EQ(rows().size(), 6);
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(FolderScanCommand, SettingsThatCannotBeWrittenAreReportedAndTheScanGoesOn) {
    makeTree();
    fakes.settings.failWrites = true;
    load();
    answer("psd", p("top"));
    click(form->PushButton6);
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith(
        "Could not save the setting \"Extension\"\r\nin Velquist2021/08/31.Form1.PushButton6_Click at line 104\r\r"));
    EXPECT_TRUE(fakes.messages.shown[1].text.contains("in Velquist2021/08/31.Form1.PushButton6_Click at line 110\r\r"));
    EXPECT_EQ(rows().size(), 5);
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(FolderScanCommand, AnUnreadableFolderIsSkippedWithoutAMessage) {
    makeTree();
    tree.file("top/Locked/secret.psd");
    tree.file("top/Locked/inner/deeper.psd");
    DenyingFileSystem denying;
    denying.denied.insert(p("top/Locked"));
    load(&denying);
    answer("psd", p("top"));
    click(form->PushButton6);
    EXPECT_EQ(rows().size(), 5);
    EXPECT_FALSE(rows().join('\n').contains("Locked"));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

} // namespace
} // namespace hv::test
