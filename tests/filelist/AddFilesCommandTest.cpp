// "Add PSD File(s)": the open dialog's answer becomes rows.
#include "FileListFixture.h"

namespace hv::test {
namespace {

using AddFilesCommand = FileListFixture;

TEST_F(AddFilesCommand, CancelLeavesTheListAsItWasAndShowsNothing) {
    load();
    addRows({"/kept.psd"});
    click(form->PushButton1);
    EXPECT_EQ(rows(), QStringList{"/kept.psd"});
    EXPECT_TRUE(fakes.messages.shown.empty());
    ASSERT_EQ(fakes.dialogs.calls.size(), 1u);
    EXPECT_EQ(fakes.dialogs.calls[0].kind, "open");
    EXPECT_EQ(fakes.dialogs.calls[0].title, "Add File(s) - Hold Ctrl to select multiple files");
    EXPECT_EQ(fakes.dialogs.calls[0].filterOrStart, "Photoshop Files (*.psd)|*.psd|");
}

TEST_F(AddFilesCommand, OneChosenFileIsAppendedExactlyAsTheDialogGaveIt) {
    load();
    fakes.dialogs.openAnswers.push_back({"/art//odd.psd"});
    click(form->PushButton1);
    EXPECT_EQ(rows(), QStringList{"/art//odd.psd"});
}

TEST_F(AddFilesCommand, SeveralFilesFollowTheExistingRowsInTheDialogsOrder) {
    load();
    addRows({"/first.psd"});
    fakes.dialogs.openAnswers.push_back({"/Art/c.psd", "/Art/a.psd", "/Art/b.psd"});
    click(form->PushButton1);
    EXPECT_EQ(rows(), (QStringList{"/first.psd", "/Art/c.psd", "/Art/a.psd", "/Art/b.psd"}));
}

TEST_F(AddFilesCommand, FilesChosenInTheRootFolderHaveNoDoubledSeparator) {
    load();
    fakes.dialogs.openAnswers.push_back({"/x.psd", "/y.psd"});
    click(form->PushButton1);
    EXPECT_EQ(rows(), (QStringList{"/x.psd", "/y.psd"}));
}

TEST_F(AddFilesCommand, ListedAndMissingFilesAreAppendedToo) {
    load();
    addRows({"/Art/a.psd"});
    fakes.dialogs.openAnswers.push_back({"/Art/a.psd", "/Art/not-there.psd"});
    click(form->PushButton1);
    EXPECT_EQ(rows(), (QStringList{"/Art/a.psd", "/Art/a.psd", "/Art/not-there.psd"}));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

} // namespace
} // namespace hv::test
