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
    EXPECT_EQ(fakes.dialogs.calls[0].title, "Add File(s) - Hold Ctrl to select multiple files");
    EXPECT_EQ(fakes.dialogs.calls[0].filterOrStart, "Photoshop Files (*.psd)|*.psd|");
}

TEST_F(AddFilesCommand, ChosenFilesFollowTheRowsInTheDialogsOrder) {
    load();
    addRows({"/Art/a.psd"});
    fakes.dialogs.openAnswers.push_back({"/art//odd.psd"}); // one file: taken as it is
    fakes.dialogs.openAnswers.push_back({"/Art/c.psd", "/Art/a.psd", "/Art/missing.psd"});
    fakes.dialogs.openAnswers.push_back({"/x.psd", "/y.psd"}); // in the root folder
    for (int i = 0; i < 3; ++i) click(form->PushButton1);
    EXPECT_EQ(rows(), (QStringList{"/Art/a.psd", "/art//odd.psd", "/Art/c.psd", "/Art/a.psd", "/Art/missing.psd",
                                   "/x.psd", "/y.psd"}));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

} // namespace
} // namespace hv::test
