// The folder scan over real temporary folder trees.
#include "ScanHarness.h"
#include "TestFileSystems.h"
#include "platform/PosixFileSystem.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv::test {
namespace {

QByteArray bytes(const QString& path) { return QFile::encodeName(path); }

class FolderScanTree : public ::testing::Test {
protected:
    QString p(const QString& relative) const { return tree.path(relative); }
    void link(const QString& target, const QString& linkRelative) {
        ASSERT_EQ(::symlink(bytes(target).constData(), bytes(p(linkRelative)).constData()), 0);
    }

    TempDir tree;
    PosixFileSystem fs;
    ScanHarness harness{fs};
};

TEST_F(FolderScanTree, RowsComeLevelByLevelInNameOrder) {
    tree.file("top/z.psd");
    tree.file("top/a.psd");
    tree.file("top/Beta/b.psd");
    tree.file("top/alpha/c.psd");
    tree.file("top/alpha/deep/d.psd");
    tree.file("top/Beta/deeper/e.psd");
    tree.file("top/alpha/deep/deepest/f.psd");
    EXPECT_EQ(harness.add(p("top"), "*.psd"),
              (QStringList{p("top/a.psd"), p("top/z.psd"), p("top/alpha/c.psd"), p("top/Beta/b.psd"),
                           p("top/alpha/deep/d.psd"), p("top/Beta/deeper/e.psd"), p("top/alpha/deep/deepest/f.psd")}));
    EXPECT_TRUE(harness.messages.shown.empty());
    EXPECT_TRUE(harness.reported.isEmpty());
}

TEST_F(FolderScanTree, PatternsOfTheThreeKindsOfAnswer) {
    tree.file("top/LOGO.PSD");
    tree.file("top/notes.txt");
    tree.file("top/README");
    tree.file("top/x..psd");
    tree.file("top/sub/y.Psd");
    EXPECT_EQ(harness.add(p("top"), "*.psd"), (QStringList{p("top/LOGO.PSD"), p("top/x..psd"), p("top/sub/y.Psd")}));

    ScanHarness all(fs);
    EXPECT_EQ(all.add(p("top"), "*.*"), (QStringList{p("top/LOGO.PSD"), p("top/notes.txt"), p("top/README"),
                                                      p("top/x..psd"), p("top/sub/y.Psd")}));
    ScanHarness dotted(fs);
    EXPECT_EQ(dotted.add(p("top"), "*..psd"), QStringList{p("top/x..psd")});
}

TEST_F(FolderScanTree, TildeNamesAndHiddenFilesAreLeftOutButReadOnlyHiddenFilesStay) {
    tree.file("top/~lock.psd");
    tree.file("top/.hidden.psd");
    const QString kept = tree.file("top/.readonly.psd");
    ASSERT_EQ(::chmod(bytes(kept).constData(), 0444), 0);
    tree.file("top/a.psd");
    tree.file("top/.dotfolder/in.psd");  // a hidden folder is still walked
    EXPECT_EQ(harness.add(p("top"), "*.psd"),
              (QStringList{p("top/.readonly.psd"), p("top/a.psd"), p("top/.dotfolder/in.psd")}));
}

TEST_F(FolderScanTree, SymbolicLinkLoopsEndAndListEachFileOnce) {
    tree.file("top/a.psd");
    tree.file("top/sub/b.psd");
    tree.file("top/sub/inner/c.psd");
    link(p("top"), "top/sub/inner/back-to-top");
    link("..", "top/sub/up");
    link(p("top/sub/inner"), "top/sub/inner/self");
    const QStringList rows = harness.add(p("top"), "*.psd");
    EXPECT_EQ(rows, (QStringList{p("top/a.psd"), p("top/sub/b.psd"), p("top/sub/inner/c.psd")}));
}

TEST_F(FolderScanTree, TwoLinksToOneFolderListItsFilesOnce) {
    tree.file("top/real/r.psd");
    link(p("top/real"), "top/a-link");
    link(p("top/real"), "top/z-link");
    // The first path in level order wins: "a-link" sorts before "real".
    EXPECT_EQ(harness.add(p("top"), "*.psd"), QStringList{p("top/a-link/r.psd")});
}

TEST_F(FolderScanTree, APipeIsNeitherListedNorOpened) {
    tree.file("top/a.psd");
    ASSERT_EQ(::mkfifo(bytes(p("top/pipe.psd")).constData(), 0644), 0);
    EXPECT_EQ(harness.add(p("top"), "*.psd"), QStringList{p("top/a.psd")});
}

TEST_F(FolderScanTree, UnsafeFolderNamesAreSkippedWithTheirSubtrees) {
    tree.file("top/ok/a.psd");
    tree.file(QString("top/ctl") + QChar(1) + "/b.psd");
    tree.file(QString("top/del") + QChar(127) + "/c.psd");
    tree.file(QString("top/c1") + QChar(0x85) + "/d.psd");
    tree.file("top/why?/e.psd");
    const QString unicode = tree.file(QString::fromUtf8("top/Ünïcode €/f.psd"));
    const QByteArray notText = bytes(p("top")) + "/bad\xff";
    ASSERT_EQ(::mkdir(notText.constData(), 0755), 0);
    const int fd = ::creat((notText + "/g.psd").constData(), 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(harness.add(p("top"), "*.psd"), (QStringList{p("top/ok/a.psd"), unicode}));
}

TEST_F(FolderScanTree, AnUnreadableFolderIsSkippedSilently) {
    tree.file("top/a.psd");
    tree.file("top/locked/secret.psd");
    tree.file("top/locked/inner/deep.psd");
    tree.file("top/open/b.psd");
    DenyingFileSystem denying;
    denying.denied.insert(p("top/locked"));
    ScanHarness scan(denying);
    EXPECT_EQ(scan.add(p("top"), "*.psd"), (QStringList{p("top/a.psd"), p("top/open/b.psd")}));
    EXPECT_TRUE(scan.messages.shown.empty());
    EXPECT_TRUE(scan.reported.isEmpty());
}

TEST_F(FolderScanTree, TheSameFolderScannedTwiceAddsEveryFileTwice) {
    tree.file("top/a.psd");
    tree.file("top/s/b.psd");
    harness.add(p("top"), "*.psd");
    EXPECT_EQ(harness.add(p("top"), "*.psd"),
              (QStringList{p("top/a.psd"), p("top/s/b.psd"), p("top/a.psd"), p("top/s/b.psd")}));
}

TEST_F(FolderScanTree, AFolderChosenWithATrailingSlashGivesCleanPaths) {
    tree.file("top/a.psd");
    tree.file("top/s/b.psd");
    EXPECT_EQ(harness.add(p("top") + "/", "*.psd"), (QStringList{p("top/a.psd"), p("top/s/b.psd")}));
}

TEST_F(FolderScanTree, ListFilesInFolderGivesRegularFilesOnly) {
    tree.file("top/a.psd");
    tree.file("top/.h.psd");
    tree.folder("top/dir.psd");
    ASSERT_EQ(::mkfifo(bytes(p("top/fifo.psd")).constData(), 0644), 0);
    link(p("top/a.psd"), "top/alias.psd");
    link(p("top/missing.psd"), "top/dangling.psd");
    EXPECT_EQ(harness.scan.listFilesInFolder(p("top"), "*.psd"), (QStringList{".h.psd", "a.psd", "alias.psd"}));
    EXPECT_TRUE(harness.scan.listFilesInFolder(p("nowhere"), "*.*").isEmpty());
}

TEST_F(FolderScanTree, TheWindowStaysResponsiveWhileFoldersAreCollected) {
    for (int i = 0; i < 5; ++i) tree.file(QString("top/f%1/a.psd").arg(i));
    int sawRows = -1;
    harness.events.onEvents = [&](int) {
        // The user adds a row by hand while the scan is collecting folders.
        if (sawRows < 0) {
            sawRows = harness.fileList.itemCount();
            harness.fileList.addItem("by hand");
        }
    };
    const QStringList rows = harness.add(p("top"), "*.psd");
    EXPECT_EQ(sawRows, 0);  // the whole tree is collected before any file is listed
    EXPECT_EQ(rows.size(), 6);
    EXPECT_EQ(rows.first(), "by hand");
    EXPECT_GE(harness.events.calls, 6);
}

} // namespace
} // namespace hv::test
