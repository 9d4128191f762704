#include "output/ListClipboardCopy.h"
#include "output/ClipboardRetry.h"
#include "platform/Failure.h"
#include "support/Fakes.h"
#include "support/ResultsList.h"

#include <gtest/gtest.h>

namespace hv::test {
namespace {

struct ClipboardCopy {
    FakeClipboard clipboard;
    FakeEventPump events;
    void copy(const ListViewModel& list) { ListClipboardCopy(list, clipboard, events).copy(); }
};

TEST(ClipboardCopyText, WorkedExampleByteForByte) {
    ClipboardCopy run;
    run.copy(*resultsList({{QStringLiteral("C:\\art\\a.psd"), QStringLiteral("Logo")},
                           {QStringLiteral("C:\\art\\poster.psd"), QStringLiteral("Logo copy")}},
                          true));
    EXPECT_EQ(run.clipboard.text, QStringLiteral("C:\\art\\a.psd     \tLogo\r\n"
                                                 "C:\\art\\poster.psd\tLogo copy\r\n"));
}

TEST(ClipboardCopyText, LayerNameLosesTrailingSpacesPathKeepsThemEmptyNameKeepsItsTab) {
    ClipboardCopy run;
    run.copy(*resultsList({{QStringLiteral("/art/a.psd  "), QStringLiteral("Logo   ")},
                           {QStringLiteral("/art/poster.psd"), QStringLiteral("Back ground ")},
                           {QStringLiteral("/b.psd"), QString()}},
                          true));
    EXPECT_EQ(run.clipboard.text, QStringLiteral("/art/a.psd     \tLogo\r\n"
                                                 "/art/poster.psd\tBack ground\r\n"
                                                 "/b.psd         \t\r\n"));
}

TEST(ClipboardCopyText, WidthsIncludeUncheckedRowsButNotTheHeaders) {
    auto list = resultsList({{QStringLiteral("/art/a/very/long/path.psd"), QStringLiteral("x")},
                             {QStringLiteral("/b.psd"), QStringLiteral("y")},
                             {QStringLiteral("/c"), QStringLiteral("z")}});
    list->setChecked(2, true);
    list->setChecked(3, true);
    ClipboardCopy run;
    run.copy(*list);
    // 25 units wide from the unchecked first row.
    EXPECT_EQ(run.clipboard.text, QStringLiteral("/b.psd                   \ty\r\n"
                                                 "/c                       \tz\r\n"));
    run.copy(*resultsList({{QStringLiteral("/a"), QStringLiteral("x")}}, true)); // narrower than "File"
    EXPECT_EQ(run.clipboard.text, QStringLiteral("/a\tx\r\n"));
}

TEST(ClipboardCopyText, NoCheckedRowGivesAnEmptyClipboard) {
    ClipboardCopy run;
    run.copy(*resultsList({{QStringLiteral("/a"), QStringLiteral("b")}}));
    EXPECT_EQ(run.clipboard.text, QString());
    EXPECT_EQ(run.clipboard.clearAttempts, 1);
    EXPECT_EQ(run.clipboard.setAttempts, 1);
}

TEST(ClipboardCopyText, EmptyListLeavesTheClipboardUntouched) {
    ClipboardCopy run;
    run.copy(*resultsList({}));
    EXPECT_EQ(run.clipboard.text, QStringLiteral("(previous content)"));
    EXPECT_EQ(run.clipboard.clearAttempts, 0);
    EXPECT_EQ(run.clipboard.setAttempts, 0);
}

TEST(ClipboardCopyText, RowRemovedWhileReadingFailsBeforeTheClipboardIsTouched) {
    auto list =
        resultsList({{QStringLiteral("/a"), QStringLiteral("b")}, {QStringLiteral("/c"), QStringLiteral("d")}}, true);
    ClipboardCopy run;
    run.events.onEvents = [&](int call) {
        if (call == 5) list->clearItems(); // in the second pass, before row 1
    };
    EXPECT_THROW(run.copy(*list), Failure);
    EXPECT_EQ(run.clipboard.text, QStringLiteral("(previous content)"));
    EXPECT_EQ(run.clipboard.clearAttempts + run.clipboard.setAttempts, 0);
}

TEST(ClipboardRetryRule, RefusingAFewTimesThenAccepting) {
    ClipboardCopy run;
    run.clipboard.clearFailures = 3;
    run.clipboard.setFailures = 7;
    run.copy(*resultsList({{QStringLiteral("/a"), QStringLiteral("b")}}, true));
    EXPECT_EQ(run.clipboard.clearAttempts, 4);
    EXPECT_EQ(run.clipboard.setAttempts, 8);
    EXPECT_EQ(run.clipboard.text, QStringLiteral("/a\tb\r\n"));
}

TEST(ClipboardRetryRule, GivesUpAfterAThousandAttemptsWithoutAFailure) {
    FakeClipboard clipboard;
    clipboard.clearFailures = 5000;
    clipboard.setFailures = 999;
    ClearClipboard(clipboard);
    EXPECT_EQ(clipboard.clearAttempts, 1000);
    EXPECT_TRUE(SetClipboardText(clipboard, QStringLiteral("text")));
    EXPECT_EQ(clipboard.setAttempts, 1000);
    EXPECT_EQ(clipboard.text, QStringLiteral("text"));

    clipboard.setFailures = 1000;
    clipboard.setAttempts = 0;
    EXPECT_FALSE(SetClipboardText(clipboard, QStringLiteral("other")));
    EXPECT_EQ(clipboard.setAttempts, 1000);
    EXPECT_EQ(clipboard.text, QStringLiteral("text"));
}

} // namespace
} // namespace hv::test
