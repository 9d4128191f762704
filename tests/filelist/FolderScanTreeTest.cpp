// The folder scan over real temporary folder trees.
#include "ScanHarness.h"
#include "platform/qt/PosixFileSystem.h"
#include "support/TempDir.h"

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
    const QByteArray notText = bytes(p("top")) + "/bad\xff";
    ASSERT_EQ(::mkdir(notText.constData(), 0755), 0);
    ASSERT_EQ(::close(::creat((notText + "/g.psd").constData(), 0644)), 0);
    const QString unicode = tree.file(QString::fromUtf8("top/Ünïcode €/f.psd"));

    EXPECT_EQ(harness.add(p("top"), "*.psd"),
              (QStringList{p("top/.readonly.psd"), p("top/a.psd"), p("top/.dotfolder/in.psd"), unicode}));
    EXPECT_TRUE(harness.messages.shown.empty());
    EXPECT_TRUE(harness.reported.isEmpty());
    // The temporary folder cannot remove names that are not text.
    ::unlink((notText + "/g.psd").constData());
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

} // namespace
} // namespace hv::test
