// "Add All PSD File(s) In Folder": the prompt, the folder browser, the
// settings and the scan of a real temporary tree.
#include "FileListFixture.h"
#include "TestFileSystems.h"
#include "shell/QSettingsStore.h"

#include "platform/AppTitle.h"

namespace hv::test {
namespace {

const char* const kPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)";

class FolderScanCommand : public FileListFixture {
protected:
    QString p(const QString& relative) const { return tree.path(relative); }
    void makeTree() {
        tree.file("top/a.psd");
        tree.file("top/notes.txt");
        tree.file("top/README");
        tree.file("top/x..psd");
        tree.file("top/Sub/B.PSD");
        tree.file("top/Sub/deep/c.psd");
    }
    void answer(const QString& extension, const QString& folder = QString()) {
        fakes.input.answers.push_back(extension);
        if (!folder.isNull()) fakes.dialogs.browseAnswers.push_back(folder);
    }
    int browseCalls() const {
        int count = 0;
        for (const auto& call : fakes.dialogs.calls) count += call.kind == "browse";
        return count;
    }

    TempDir tree;
    TempDir settingsFolder;
};

TEST_F(FolderScanCommand, FirstUseOffersPsdAndCancelStoresNothing) {
    load();
    click(form->PushButton6);
    ASSERT_EQ(fakes.input.calls.size(), 1u);
    EXPECT_EQ(fakes.input.calls[0].prompt, kPrompt);
    EXPECT_EQ(fakes.input.calls[0].title, appTitle());
    EXPECT_EQ(fakes.input.calls[0].defaultAnswer, "psd");
    EXPECT_EQ(browseCalls(), 0);
    EXPECT_TRUE(fakes.settings.values.isEmpty());
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(FolderScanCommand, AnEmptyAnswerEndsTheCommandAndKeepsTheOldExtension) {
    fakes.settings.values["Extension"] = "txt";
    load();
    answer("");
    click(form->PushButton6);
    EXPECT_EQ(fakes.input.calls[0].defaultAnswer, "txt");
    EXPECT_EQ(browseCalls(), 0);
    EXPECT_EQ(fakes.settings.values.value("Extension"), "txt");
}

TEST_F(FolderScanCommand, CancellingTheFolderDialogKeepsTheExtensionOnly) {
    const QString file = settingsFolder.path("halvorine.ini");
    QSettingsStore store(file);
    load(nullptr, &store);
    answer("txt", "");
    click(form->PushButton6);
    ASSERT_EQ(browseCalls(), 1);
    EXPECT_EQ(fakes.dialogs.calls.back().title, "Please select folder:");
    EXPECT_EQ(fakes.dialogs.calls.back().filterOrStart, "");

    QSettingsStore another(file);
    EXPECT_EQ(another.readSetting("Extension", "psd"), "txt");
    EXPECT_EQ(another.readSetting("LastFolder", "(none)"), "(none)");
    EXPECT_TRUE(rows().isEmpty());

    // The next run offers the stored extension; the dialog opens where it did.
    answer("txt", "");
    click(form->PushButton6);
    EXPECT_EQ(fakes.input.calls.back().defaultAnswer, "txt");
    ASSERT_EQ(browseCalls(), 2);
    EXPECT_EQ(fakes.dialogs.calls.back().filterOrStart, "");
}

TEST_F(FolderScanCommand, AChosenFolderIsStoredScannedLevelByLevelAndOfferedNextTime) {
    makeTree();
    const QString file = settingsFolder.path("halvorine.ini");
    QSettingsStore store(file);
    load(nullptr, &store);
    addRows({"/earlier.psd"});
    answer("psd", p("top"));
    click(form->PushButton6);
    EXPECT_EQ(rows(), (QStringList{"/earlier.psd", p("top/a.psd"), p("top/x..psd"), p("top/Sub/B.PSD"),
                                   p("top/Sub/deep/c.psd")}));
    EXPECT_EQ(QSettingsStore(file).readSetting("LastFolder", ""), p("top"));
    EXPECT_EQ(QSettingsStore(file).readSetting("Extension", ""), "psd");
    EXPECT_EQ(form->pointer(), Pointer::Default);
    EXPECT_TRUE(fakes.messages.shown.empty());

    click(form->PushButton6);  // cancelled at the prompt
    answer("psd", "");
    click(form->PushButton6);
    EXPECT_EQ(fakes.dialogs.calls.back().filterOrStart, p("top"));
}

TEST_F(FolderScanCommand, StarAddsEveryFileAndALeadingDotIsKept) {
    makeTree();
    load();
    answer("*", p("top"));
    click(form->PushButton6);
    EXPECT_EQ(rows(), (QStringList{p("top/a.psd"), p("top/notes.txt"), p("top/README"), p("top/x..psd"),
                                   p("top/Sub/B.PSD"), p("top/Sub/deep/c.psd")}));
    fileList().clearItems();
    answer(".psd", p("top"));
    click(form->PushButton6);
    EXPECT_EQ(rows(), QStringList{p("top/x..psd")});
    EXPECT_EQ(fakes.settings.values.value("Extension"), ".psd");
}

TEST_F(FolderScanCommand, TheHourglassShowsWhileScanningAndRemovalsWaitForIt) {
    makeTree();
    load();
    addRows({"/one.psd", "/two.psd"});
    form->ListView1->selectItem(1);
    bool sawHourglass = false;
    fakes.events.onEvents = [&](int) {
        sawHourglass = form->busy() && form->pointer() == Pointer::Hourglass;
        QTest::keyClick(form->ListView1, Qt::Key_Delete);
        form->ListView1_DblClick();
        click(form->PushButton5);
    };
    answer("psd", p("top"));
    click(form->PushButton6);
    EXPECT_TRUE(sawHourglass);
    EXPECT_EQ(rows().size(), 6);
    EXPECT_EQ(rows().first(), "/one.psd");
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(FolderScanCommand, SettingsThatCannotBeWrittenAreReportedAndTheScanGoesOn) {
    makeTree();
    fakes.settings.failWrites = true;
    load();
    answer("psd", p("top"));
    click(form->PushButton6);
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_EQ(fakes.messages.shown[0].title, "Application Error");
    EXPECT_TRUE(fakes.messages.shown[0].text.contains("in Velquist2021/08/31.Form1.PushButton6_Click at line 104"));
    EXPECT_TRUE(fakes.messages.shown[1].text.contains("in Velquist2021/08/31.Form1.PushButton6_Click at line 110"));
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith("Could not save the setting \"Extension\"\r\n"));
    EXPECT_EQ(rows().size(), 4);
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(FolderScanCommand, AnUnreadableFolderIsSkippedWithoutAMessage) {
    makeTree();
    tree.file("top/Locked/secret.psd");
    DenyingFileSystem denying;
    denying.denied.insert(p("top/Locked"));
    load(&denying);
    answer("psd", p("top"));
    click(form->PushButton6);
    EXPECT_FALSE(rows().contains(p("top/Locked/secret.psd")));
    EXPECT_EQ(rows().size(), 4);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

} // namespace
} // namespace hv::test
