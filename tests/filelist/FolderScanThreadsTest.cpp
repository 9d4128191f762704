// The folder scan with the file system's answers fetched on worker threads
// gives what the scan gives when it asks one question after the other: the
// same rows in the same order, the same failures and error reports.
#include "ScanHarness.h"
#include "platform/qt/PosixFileSystemWorkers.h"
#include "platform/qt/QtDesktop.h"
#include "support/TempDir.h"
#include "support/TestFileSystems.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace hv::test {
namespace {

struct Outcome {
    QStringList rows;
    QStringList reported;
    QStringList shown;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

Outcome scan(FileSystem& fs, const QString& top, const QString& pattern) {
    ScanHarness harness(fs);
    Outcome outcome{harness.add(top, pattern), harness.reported, {}};
    for (const auto& message : harness.messages.shown) outcome.shown.append(message.text);
    return outcome;
}

void link(const QString& target, const QString& path) {
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
}

TEST(FolderScanThreads, AWrittenTreeGivesTheRowsOfTheOneByOneScan) {
    TempDir tree;
    const auto p = [&](const QString& relative) { return tree.path(relative); };
    for (const char* name : {"a.psd", "~lock.psd", ".hidden.psd", "notes.txt", "why?/x.psd", "ctl\x01/x.psd",
                             "Locked/secret.psd", "Locked/inner/deeper.psd", "real/r.psd"})
        tree.file(QString("top/") + name);
    for (int set = 0; set < 12; ++set)
        for (int file = 0; file < 12; ++file) tree.file(QString("top/set %1/deep/%2.PSD").arg(set).arg(file));
    ASSERT_EQ(::chmod(QFile::encodeName(tree.file("top/.readonly.psd")).constData(), 0444), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(p("top/pipe.psd")).constData(), 0644), 0);
    link(p("top/real"), p("top/a-link"));
    link(p("top/real"), p("top/z-link"));
    link("..", p("top/real/up"));
    const QString longName(40, QLatin1Char('l'));
    tree.file("top/" + longName + "/" + longName + "/listed.psd");
    tree.file("top/" + longName + "/" + longName + "/below/not-reached.psd");

    const auto share = [&](std::size_t threads) {
        auto fs = std::make_unique<DenyingFileSystem>(threads);
        fs->denied.insert(p("top/Locked"));
        fs->limit = p("top").size() + 2 * longName.size() + 2; // reached by the second long folder
        return fs;
    };
    const struct {
        const char* pattern;
        std::size_t threads;
    } cases[] = {{"*.psd", 2}, {"*.*", 8}, {"*.psd", 64}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.threads);
        const Outcome oneByOne = scan(*share(1), p("top"), row.pattern);
        ASSERT_GE(oneByOne.rows.size(), 12 * 12 + 4);
        const QString all = oneByOne.rows.join('\n');
        for (const char* left : {"~lock", ".hidden", "pipe", "why?", "ctl", "Locked", "z-link", "not-reached"})
            EXPECT_FALSE(all.contains(left)) << left;
        EXPECT_EQ(scan(*share(row.threads), p("top"), row.pattern), oneByOne);
    }
}

// Every rule of the scan, several folders to a level, and a failure report
// from each place that makes one.
void writeRules(FakeFileSystem& fs) {
    fs.limit = 24;
    fs.addRoot(R"(C:\)", 22);
    for (const int value : {34, 35, 32}) fs.addFile(QString(R"(C:\%1.psd)").arg(value), value);
    fs.addFile(R"(C:\~temp.psd)");
    fs.addFile(R"(C:\gone.psd)");
    fs.attributesVanishAfter(R"(C:\gone.psd)", 0);
    fs.addFolder(R"(C:\System Volume Information)", 22);
    fs.addFile(R"(C:\System Volume Information\s.psd)");
    fs.addFolder(R"(C:\Junction)", 1046);
    fs.addFile(R"(C:\Junction\j.psd)");
    fs.addFolder(R"(C:\Vanishing)");
    fs.addFolder(R"(C:\Vanishing\Kept)");
    fs.addFile(R"(C:\Vanishing\Kept\k.psd)");
    fs.attributesVanishAfter(R"(C:\Vanishing)", 1);
    for (int set = 0; set < 10; ++set) {
        const QString folder = QString(R"(C:\Set %1)").arg(set);
        fs.addFolder(folder);
        for (const char* name : {R"(\a.psd)", R"(\b.psd)", R"(\Inner)", R"(\Inner\c.psd)",
                                 R"(\Inner\Too long for the limit)", R"(\Inner\Too long for the limit\d.psd)",
                                 R"(\Inner\Too long for the limit\x)", R"(\Inner\Too long for the limit\x\e.psd)"})
            QString(name).endsWith(".psd") ? fs.addFile(folder + name) : fs.addFolder(folder + name);
    }
    fs.failListing(R"(C:\Set 1)", listing::PermissionDenied);
    fs.failListing(R"(C:\Set 2)", listing::PathNotFound);
    fs.failListing(R"(C:\Set 3\Inner)", 57, 0);
}

TEST(FolderScanThreads, AnswersComingBackOutOfOrderAreTakenInTheListsOrder) {
    FakeFileSystem oneByOne;
    writeRules(oneByOne);
    const Outcome expected = scan(oneByOne, R"(C:\)", "*.psd");
    ASSERT_GE(expected.rows.size(), 30);
    ASSERT_EQ(expected.reported, QStringList{"File not found"});
    ASSERT_EQ(expected.shown.size(), 1);
    for (const std::size_t workers : {2, 8, 64}) {
        SCOPED_TRACE(workers);
        FakeFileSystem share;
        writeRules(share);
        share.answerOnWorkers(workers);
        EXPECT_EQ(scan(share, R"(C:\)", "*.psd"), expected);
    }
}

// A share that never answers.
class SilentShare : public FakeFileSystem {
public:
    std::unique_ptr<QueryRun> startQueries(std::size_t count, QueryJob) override {
        return workers_.start(count, [](std::size_t) {
            for (;;) ::pause();
        });
    }

private:
    QueryWorkers workers_{4};
};

TEST(FolderScanThreadsDeathTest, ClosingTheWindowWhileTheShareIsSilentEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SilentShare fs;
            fs.addFolder(R"(D:\T)");
            ScanHarness harness(fs);
            harness.events.onEvents = [](int) { QtAppExit().exitNow(); };
            harness.add(R"(D:\T)", "*.*");
            std::exit(1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace hv::test
