#include "OutputTestSupport.h"

#include "core/BuildInfo.h"
#include "output/ListTextExport.h"
#include "platform/Failure.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDevice>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace hv::test {
namespace {

const QString kProcedure = QStringLiteral("in Velquist2021/08/31.Main.SaveListviewProperlySpaced at line ");

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The export over a list, with fakes for the events and the messages.
struct TextExport {
    FakeEventPump events;
    FakeMessageBox messages;
    RecordingProgress progress;

    QByteArray toBuffer(const ListViewModel& list, const QString& fileName = QStringLiteral("/out/res.txt")) {
        QBuffer buffer;
        ListTextExport(list, events, messages, &progress).save(fileName, buffer);
        return buffer.data();
    }
    void toFile(const ListViewModel& list, const QString& fileName) {
        ListTextExport(list, events, messages, &progress).save(fileName);
    }
    bool endedIdle() const { return progress.value() == 0 && progress.text() == QStringLiteral("Progress Bar"); }
};

const std::vector<std::pair<QString, QString>> kWorkedExample = {
    {QStringLiteral("C:\\art\\a.psd"), QStringLiteral("Logo")},
    {QStringLiteral("C:\\art\\poster.psd"), QStringLiteral("Logo copy")},
};

// --- The file's bytes -------------------------------------------------------

TEST(TextExportLayout, WorkedExampleIsThreeLinesOf93Bytes) {
    TextExport run;
    const QByteArray bytes = run.toBuffer(*resultsList(kWorkedExample, true));
    EXPECT_EQ(bytes, QByteArray("File             \tLayer Name\t\r\n"
                                "C:\\art\\a.psd     \tLogo      \t\r\n"
                                "C:\\art\\poster.psd\tLogo copy \t\r\n"));
    EXPECT_EQ(bytes.size(), 93);
    EXPECT_TRUE(run.messages.shown.empty());
}

TEST(TextExportLayout, EmptyListGivesTheHeaderAlone) {
    TextExport run;
    const QByteArray bytes = run.toBuffer(*resultsList({}));
    EXPECT_EQ(bytes, QByteArray("File\tLayer Name\t\r\n"));
    EXPECT_EQ(bytes.size(), 18);
}

TEST(TextExportLayout, NoCheckedRowsGivesTheHeaderPaddedToAllRows) {
    TextExport run;
    EXPECT_EQ(run.toBuffer(*resultsList(kWorkedExample, false)), QByteArray("File             \tLayer Name\t\r\n"));
}

TEST(TextExportLayout, OnlyTheSecondRowCheckedIsPaddedWithTheFirstRowCounted) {
    auto list = resultsList({{QStringLiteral("/art/poster-final.psd"), QStringLiteral("Background layer")},
                             {QStringLiteral("/art/a.psd"), QStringLiteral("Logo")}});
    list->setChecked(2, true);
    TextExport run;
    EXPECT_EQ(run.toBuffer(*list), QByteArray("File                 \tLayer Name      \t\r\n"
                                              "/art/a.psd           \tLogo            \t\r\n"));
    // The row number counts the unchecked row too: row 2 of 2 is at 100 %.
    EXPECT_EQ(run.progress.values, (std::vector<double>{1, 10, 20, 100, 100, 0}));
}

TEST(TextExportLayout, HeaderWiderThanItsCellsSetsTheWidth) {
    TextExport run;
    EXPECT_EQ(run.toBuffer(*resultsList({{QStringLiteral("a"), QStringLiteral("L")}}, true)),
              QByteArray("File\tLayer Name\t\r\n"
                         "a   \tL         \t\r\n"));
}

TEST(TextExportLayout, NonAsciiTextIsUtf8PaddedByItsUtf16Length) {
    // "/art/Ébène" is 10 UTF-16 units (12 bytes), "/art/😀.psd" 11 units (13
    // bytes: the emoji is a surrogate pair), "图层" 2 units (6 bytes).
    const QString accented = QStringLiteral("/art/Ébène");
    const QString emoji = QString::fromUtf8("/art/\xF0\x9F\x98\x80.psd");
    TextExport run;
    const QByteArray bytes =
        run.toBuffer(*resultsList({{accented, QString::fromUtf8("图层")}, {emoji, QStringLiteral("Logo")}}, true));
    EXPECT_EQ(bytes, QByteArray("File       \tLayer Name\t\r\n"
                                "/art/\xC3\x89"
                                "b\xC3\xA8ne \t\xE5\x9B\xBE\xE5\xB1\x82        \t\r\n"
                                "/art/\xF0\x9F\x98\x80.psd\tLogo      \t\r\n"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST(TextExportLayout, RowAddedWhileWritingIsWrittenWholeWithoutPadding) {
    auto list = resultsList({{QStringLiteral("/a.psd"), QStringLiteral("Logo")}}, true);
    TextExport run;
    // The widths are known at 10 %; the next events add a longer row.
    bool added = false;
    run.events.onEvents = [&](int) {
        if (!added && !run.progress.values.empty() && run.progress.values.back() == 10) {
            added = true;
            list->setChecked(list->addItem(QStringList{QStringLiteral("/a/much/longer/path.psd"), QStringLiteral("L")}),
                             true);
        }
    };
    EXPECT_EQ(run.toBuffer(*list), QByteArray("File  \tLayer Name\t\r\n"
                                              "/a.psd\tLogo      \t\r\n"
                                              "/a/much/longer/path.psd\tL         \t\r\n"));
}

// --- Progress ---------------------------------------------------------------

TEST(TextExportProgress, TwentyFiveHundredRowsWalkThroughTheTable) {
    std::vector<std::pair<QString, QString>> rows;
    for (int i = 1; i <= 2500; ++i) rows.emplace_back(QStringLiteral("/art/%1.psd").arg(i), QStringLiteral("Logo"));
    TextExport run;
    const QByteArray bytes = run.toBuffer(*resultsList(rows, true), QStringLiteral("/home/me/out/res.txt"));
    EXPECT_EQ(bytes.count('\n'), 2501);

    std::vector<double> expected = {1, 10, 20};
    for (int i = 1; i <= 2500; ++i) expected.push_back((i + 1) / 2500.0 * 100);
    expected.push_back(100);
    expected.push_back(0);
    ASSERT_EQ(run.progress.values.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) EXPECT_DOUBLE_EQ(run.progress.values[k], expected[k]) << k;

    const QString caption = QStringLiteral("Writing file: res.txt");
    EXPECT_EQ(run.progress.texts, QStringList({caption, caption, caption, caption + QStringLiteral(" (1000)"),
                                               caption + QStringLiteral(" (2000)"), QStringLiteral("Done."),
                                               QStringLiteral("Progress Bar")}));
}

// --- Files on disk ----------------------------------------------------------

TEST(TextExportFile, ExistingLongerFileIsReplacedCompletely) {
    TempDir dir;
    const QString target = dir.file(QStringLiteral("res.txt"), QByteArray(5000, 'x'));
    TextExport run;
    run.toFile(*resultsList(kWorkedExample, true), target);
    EXPECT_EQ(fileBytes(target).size(), 93);
    EXPECT_TRUE(fileBytes(target).startsWith("File "));
    EXPECT_TRUE(run.messages.shown.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("res.txt")});
}

TEST(TextExportFile, PermissionsAreThoseOfANewFileOrKeptFromTheOldOne) {
    TempDir dir;
    const mode_t mask = umask(022);
    TextExport run;
    run.toFile(*resultsList({}), dir.path(QStringLiteral("new.txt")));
    const QString old = dir.file(QStringLiteral("old.txt"), "old");
    QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    run.toFile(*resultsList({}), old);
    umask(mask);
    EXPECT_EQ(QFile::permissions(dir.path(QStringLiteral("new.txt"))) & 0x0777, QFileDevice::Permissions(0x0644));
    EXPECT_EQ(QFile::permissions(old) & 0x0777, QFileDevice::Permissions(0x0640));
}

TEST(TextExportFile, TargetThatCannotBeCreatedIsReportedAt156AndTheRunStillEnds) {
    TempDir dir;
    const QString blocker = dir.file(QStringLiteral("not-a-folder"), "keep");
    TextExport run;
    run.toFile(*resultsList(kWorkedExample, true), blocker + QStringLiteral("/res.txt"));
    ASSERT_EQ(run.messages.shown.size(), 1u);
    const Message& report = run.messages.shown[0];
    EXPECT_EQ(report.title, QStringLiteral("Application Error"));
    EXPECT_TRUE(report.text.startsWith(QStringLiteral("Cannot create the file"))) << report.text.toStdString();
    EXPECT_TRUE(report.text.contains(kProcedure + QStringLiteral("156\r\r"))) << report.text.toStdString();
    EXPECT_TRUE(run.endedIdle());
    EXPECT_EQ(fileBytes(blocker), QByteArray("keep"));
}

std::unique_ptr<ListViewModel> manyRows(int count) {
    std::vector<std::pair<QString, QString>> rows;
    for (int i = 0; i < count; ++i) rows.emplace_back(QStringLiteral("/art/%1.psd").arg(i), QStringLiteral("Logo"));
    return resultsList(rows, true);
}

// The file may grow to 4096 bytes. 3000 rows overflow the file's buffer
// while rows are written; 300 rows only when the file is completed.
TEST(TextExportFile, FailurePartWayLeavesTheOldFileIntactAndIsReportedWithTheSystemsReason) {
    for (const auto& [count, line] : {std::pair{3000, 222}, std::pair{300, 232}}) {
        TempDir dir;
        const QString target = dir.file(QStringLiteral("res.txt"), "old content");
        auto list = manyRows(count);

        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4096;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        TextExport run;
        run.toFile(*list, target);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        ASSERT_EQ(run.messages.shown.size(), 1u) << run.messages.texts().join(QStringLiteral("\n")).toStdString();
        const QString& report = run.messages.shown[0].text;
        EXPECT_TRUE(report.startsWith(QStringLiteral("Cannot write the file \"%1\": File too large\r\n").arg(target)))
            << report.toStdString();
        EXPECT_TRUE(report.contains(kProcedure + QString::number(line) + QStringLiteral("\r\r"))) << count;
        EXPECT_EQ(fileBytes(target), QByteArray("old content"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("res.txt")});
        EXPECT_TRUE(run.endedIdle());
    }
}

TEST(TextExportFile, AFullDiskIsReportedWithTheSystemsReasonEvenForTheLastLines) {
    for (const auto& [count, line] : {std::pair{3000, 222}, std::pair{2, 232}}) {
        QFile full(QStringLiteral("/dev/full"));
        if (!full.exists()) GTEST_SKIP() << "this system has no /dev/full";
        TextExport run;
        ListTextExport(*manyRows(count), run.events, run.messages, &run.progress)
            .save(QStringLiteral("/out/res.txt"), full);
        ASSERT_EQ(run.messages.shown.size(), 1u) << count;
        EXPECT_TRUE(run.messages.shown[0].text.startsWith(
            QStringLiteral("Cannot write the file \"/out/res.txt\": No space left on device\r\n")))
            << run.messages.shown[0].text.toStdString();
        EXPECT_TRUE(run.messages.shown[0].text.contains(kProcedure + QString::number(line) + QStringLiteral("\r\r")));
        EXPECT_TRUE(run.endedIdle());
    }
}

// --- Devices that fail, lists that change -----------------------------------

TEST(TextExportFailures, FullDeviceIsReportedOnceWhereItFilledUpAndWrittenToNoMore) {
    for (const auto& [capacity, line] : {std::pair{0, 170}, std::pair{40, 222}}) {
        FailingDevice device(capacity);
        TextExport run;
        ListTextExport(*resultsList(kWorkedExample, true), run.events, run.messages, &run.progress)
            .save(QStringLiteral("/out/res.txt"), device);
        ASSERT_EQ(run.messages.shown.size(), 1u) << capacity;
        EXPECT_TRUE(
            run.messages.shown[0].text.startsWith(QStringLiteral("Cannot write the file \"/out/res.txt\": No space")));
        EXPECT_TRUE(run.messages.shown[0].text.contains(kProcedure + QString::number(line) + QStringLiteral("\r\r")));
        EXPECT_EQ(device.written.size(), capacity);
        EXPECT_TRUE(run.endedIdle());
    }
}

TEST(TextExportFailures, RowClearedBetweenItsCellsIsReportedOnceAndLeftOut) {
    std::vector<std::pair<QString, QString>> rows;
    for (int i = 1; i <= 5; ++i) rows.emplace_back(QStringLiteral("/p%1.psd").arg(i), QStringLiteral("L%1").arg(i));
    auto list = resultsList(rows, true);
    TextExport run;
    // After row 2's progress: its events 220, then row 3's 184, 192 (first
    // cell) and 192 (second cell), where the list is cleared.
    int eventsAfterRow2 = 0;
    run.events.onEvents = [&](int) {
        if (run.progress.values.size() == 5 && ++eventsAfterRow2 == 4) list->clearItems();
    };
    const QByteArray bytes = run.toBuffer(*list);
    ASSERT_EQ(run.messages.shown.size(), 1u) << run.messages.texts().join(QStringLiteral("\n")).toStdString();
    EXPECT_EQ(run.messages.shown[0].text.left(run.messages.shown[0].text.indexOf(QLatin1Char('\r'))),
              QStringLiteral("Index out of bounds"));
    EXPECT_TRUE(run.messages.shown[0].text.contains(kProcedure + QStringLiteral("196\r\r")));
    EXPECT_EQ(bytes, QByteArray("File   \tLayer Name\t\r\n"
                                "/p1.psd\tL1        \t\r\n"
                                "/p2.psd\tL2        \t\r\n"));
    EXPECT_TRUE(run.endedIdle());
}

TEST(TextExportFailures, ListClearedBeforeTheRowProgressIsReportedAndTheReadRowKept) {
    auto list = resultsList({{QStringLiteral("/a"), QStringLiteral("x")}}, true);
    TextExport run;
    // Events: 102, 108, two of the widths pass, 144, 150, two of the header,
    // 174, 180, 184, two of the row's cells, then 212: the 14th.
    run.events.onEvents = [&](int call) {
        if (call == 14) list->clearItems();
    };
    const QByteArray bytes = run.toBuffer(*list);
    EXPECT_EQ(run.messages.texts(),
              QStringList{QStringLiteral("Division by zero\r\n") + kProcedure
                          + QStringLiteral("214\r\rPlease email screenshot of this message to ") + supportEmail()});
    EXPECT_EQ(bytes, QByteArray("File\tLayer Name\t\r\n/a  \tx         \t\r\n"));
    EXPECT_TRUE(run.endedIdle());
}

} // namespace
} // namespace hv::test
