// The folder scan over real temporary folder trees.
#include "ScanHarness.h"
#include "platform/qt/PosixFileSystem.h"
#include "support/TempDir.h"
#include "support/TestFileSystems.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv::test {
namespace {

QByteArray bytes(const QString& path) {
    return QFile::encodeName(path);
}

class FolderScanTree : public ::testing::Test {
protected:
    QString p(const QString& relative) const { return tree.path(relative); }
    void link(const QString& target, const QString& relative) {
        ASSERT_EQ(::symlink(bytes(target).constData(), bytes(p(relative)).constData()), 0);
    }

    TempDir tree;
    PosixFileSystem fs;
    ScanHarness harness{fs};
};

TEST_F(FolderScanTree, NamesAndEntriesTheScanLeavesOut) {
    tree.file("top/a.psd");
    tree.file("top/~lock.psd");
    tree.file("top/.hidden.psd");
    ASSERT_EQ(::chmod(bytes(tree.file("top/.readonly.psd")).constData(), 0444), 0);
    ASSERT_EQ(::mkfifo(bytes(p("top/pipe.psd")).constData(), 0644), 0);
    tree.file("top/.dotfolder/in.psd"); // a hidden folder is walked
    for (const QString& unsafe :
         {QString("ctl") + QChar(1), QString("del") + QChar(127), QString("c1") + QChar(0x85), QString("why?")})
        tree.file("top/" + unsafe + "/x.psd");
    // Names that are not UTF-8 are listed, and lead back to their entries.
    const QByteArray notText = bytes(p("top")) + "/bad\xff";
    ASSERT_EQ(::mkdir(notText.constData(), 0755), 0);
    ASSERT_EQ(::close(::creat((notText + "/g.psd").constData(), 0644)), 0);
    ASSERT_EQ(::close(::creat((bytes(p("top")) + "/caf\xe9.psd").constData(), 0644)), 0);
    const QString unicode = tree.file(QString::fromUtf8("top/Ünïcode €/f.psd"));

    const QStringList rows = harness.add(p("top"), "*.psd");
    EXPECT_EQ(rows, (QStringList{p("top/.readonly.psd"), p("top/a.psd"), p("top/caf") + QChar(0xDCE9) + ".psd",
                                 p("top/.dotfolder/in.psd"), p("top/bad") + QChar(0xDCFF) + "/g.psd", unicode}));
    for (const QString& row : rows) EXPECT_TRUE(fs.isExistingFile(row)) << row.toStdString();
    EXPECT_TRUE(harness.messages.shown.empty());
    EXPECT_TRUE(harness.reported.isEmpty());
    // The temporary folder cannot remove names that are not text.
    ::unlink((notText + "/g.psd").constData());
    ::unlink((bytes(p("top")) + "/caf\xe9.psd").constData());
    ::rmdir(notText.constData());
}

TEST_F(FolderScanTree, LinkLoopsEndAndEachFolderIsWalkedOnce) {
    tree.file("top/a.psd");
    tree.file("top/sub/b.psd");
    tree.file("top/sub/inner/c.psd");
    link(p("top"), "top/sub/inner/back-to-top");
    link("..", "top/sub/up");
    link(p("top/sub/inner"), "top/sub/inner/self");
    tree.file("top/real/r.psd");
    link(p("top/real"), "top/a-link"); // reached first, in level order
    link(p("top/real"), "top/z-link");
    EXPECT_EQ(harness.add(p("top"), "*.psd"),
              (QStringList{p("top/a.psd"), p("top/a-link/r.psd"), p("top/sub/b.psd"), p("top/sub/inner/c.psd")}));

    // Another scan of the same folder lists its files again.
    EXPECT_EQ(harness.add(p("top") + "/", "*.psd").size(), 8);
}

// Every folder of the tree is read once, the refused one too, however many
// ways lead to it.
TEST_F(FolderScanTree, EachFolderIsReadOnce) {
    for (const char* file : {"top/a.psd", "top/sub/b.psd", "top/sub/inner/c.psd", "top/.dot/d.psd", "top/locked/e.psd"})
        tree.file(file);
    link(p("top/sub"), "top/alias"); // reached before "sub"
    link(p("top"), "top/sub/inner/back");
    DenyingFileSystem counting;
    counting.denied.insert(p("top/locked"));
    ScanHarness scan(counting);
    EXPECT_EQ(scan.add(p("top"), "*.psd"),
              (QStringList{p("top/a.psd"), p("top/.dot/d.psd"), p("top/alias/b.psd"), p("top/alias/inner/c.psd")}));
    EXPECT_EQ(counting.listings, 5);
}

} // namespace
} // namespace hv::test
