#include "platform/qt/PosixFileSystem.h"
#include "platform/PathBytes.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hv {
namespace {

QByteArray bytes(const QString& path) {
    return QFile::encodeName(path);
}

class PosixFileSystemTest : public ::testing::Test {
protected:
    void link(const QString& target, const QString& relative) {
        ASSERT_EQ(::symlink(bytes(target).constData(), bytes(tree.path(relative)).constData()), 0);
    }
    void fifo(const QString& relative) { ASSERT_EQ(::mkfifo(bytes(tree.path(relative)).constData(), 0644), 0); }

    test::TempDir tree;
    PosixFileSystem fs;
};

TEST_F(PosixFileSystemTest, AttributesStandInForTheWindowsFlags) {
    const QString plain = tree.file("a.psd");
    tree.file(".hidden.psd");
    const QString readOnly = tree.file(".locked.psd");
    ASSERT_EQ(::chmod(bytes(readOnly).constData(), 0444), 0);
    tree.folder(".cache");
    link(plain, "link.psd");
    link(tree.path(".cache"), "linkdir");
    link(tree.path("missing"), "dangling");
    fifo("pipe");
    EXPECT_EQ(fs.attributes(plain), 32);
    EXPECT_EQ(fs.attributes(tree.path(".hidden.psd")), 34);
    EXPECT_EQ(fs.attributes(readOnly), 35); // also for the superuser
    EXPECT_EQ(fs.attributes(tree.path(".cache/")), 18);
    EXPECT_EQ(fs.attributes(tree.path("link.psd")), 32 + 1024);
    EXPECT_EQ(fs.attributes(tree.path("linkdir/")), 16 + 1024);
    EXPECT_EQ(fs.attributes(tree.path("dangling")), 1024);
    EXPECT_EQ(fs.attributes(tree.path("pipe")), 0);
    EXPECT_EQ(fs.attributes(tree.path("missing")), -1);
}

TEST_F(PosixFileSystemTest, OnlyRegularFilesExistAsFilesAndNothingIsOpened) {
    const QString plain = tree.file("a.psd");
    link(plain, "link.psd");
    fifo("pipe.psd");
    EXPECT_TRUE(fs.isExistingFile(plain));
    EXPECT_TRUE(fs.isExistingFile(tree.path("link.psd")));
    EXPECT_FALSE(fs.isExistingFile(tree.path("pipe.psd"))); // opening it would wait for a writer
    EXPECT_FALSE(fs.isExistingFile("/dev/null"));
    EXPECT_FALSE(fs.isExistingFile(tree.path()));
    EXPECT_EQ(fs.subFolders(tree.path("pipe.psd")).error, listing::PathNotFound);
    EXPECT_TRUE(fs.filesMatching(tree.path("pipe.psd"), "*.*").isEmpty());
    EXPECT_TRUE(fs.isRootFolder("//"));
    EXPECT_FALSE(fs.isRootFolder(tree.path()));
}

TEST_F(PosixFileSystemTest, ListingsKeepHiddenAndLinkedEntriesAndNamesThatAreNotUtf8) {
    tree.folder("beta");
    tree.folder("Alpha");
    tree.folder(".dot");
    link(tree.path("beta"), "gamma");
    tree.file("b.PSD");
    tree.file(".h.psd");
    tree.file("notes.txt");
    link(tree.path("Alpha"), "linked.psd");
    const QByteArray base = bytes(tree.path());
    ASSERT_EQ(::mkdir((base + "/odd\xff").constData(), 0755), 0);
    ASSERT_EQ(::close(::creat((base + "/odd\xff.psd").constData(), 0644)), 0);

    const SubFolderListing listing = fs.subFolders(tree.path() + "/");
    EXPECT_EQ(listing.error, 0);
    QStringList names;
    for (const SubFolder& folder : listing.folders) names.append(folder.name);
    const QString odd = QStringLiteral("odd") + QChar(0xDCFF);
    EXPECT_EQ(names, (QStringList{".dot", "Alpha", "beta", "gamma", "linked.psd", odd}));
    EXPECT_EQ(listing.folders[2].id, listing.folders[3].id); // "gamma" leads to "beta"
    const FolderListing both = fs.listFolder(tree.path(), "*.psd");
    EXPECT_EQ(both.folders.size(), listing.folders.size());
    EXPECT_EQ(both.files, (QStringList{".h.psd", "b.PSD", odd + ".psd"}));
    // The name leads back to the entry.
    EXPECT_TRUE(fs.isExistingFile(tree.path() + "/" + odd + ".psd"));
    EXPECT_EQ(fs.attributes(tree.path() + "/" + odd), attr::Folder);
    // The temporary folder cannot remove names that are not text.
    ::unlink((base + "/odd\xff.psd").constData());
    ::rmdir((base + "/odd\xff").constData());
}

TEST(PathBytes, AnyBytesComeBackFromTheirText) {
    const struct {
        QByteArray bytes;
        QString text;
    } rows[] = {
        {"plain.psd", "plain.psd"},
        {"caf\xc3\xa9 \xf0\x9f\x8e\xa8", QString::fromUtf8("caf\xc3\xa9 \xf0\x9f\x8e\xa8")},
        {"caf\xe9.psd", QString("caf") + QChar(0xDCE9) + ".psd"},
        {"cut\xc3", QString("cut") + QChar(0xDCC3)},                              // sequence cut short
        {"\xc0\xaf", QString(QChar(0xDCC0)) + QChar(0xDCAF)},                     // overlong "/"
        {"\xed\xa0\x80", QString(QChar(0xDCED)) + QChar(0xDCA0) + QChar(0xDC80)}, // an encoded surrogate
        {"\xf4\x90\x80\x80", QString(QChar(0xDCF4)) + QChar(0xDC90) + QChar(0xDC80) + QChar(0xDC80)}, // past U+10FFFF
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes.toHex().toStdString());
        EXPECT_EQ(pathText(row.bytes), row.text);
        EXPECT_EQ(pathBytes(pathText(row.bytes)), row.bytes);
    }
    // A lone surrogate that no name gives is written as U+FFFD.
    EXPECT_EQ(pathBytes(QString("a") + QChar(0xD800)), QByteArray("a\xef\xbf\xbd"));
}

// Permissions hold for an unprivileged user only, so when the tests run as
// the superuser the check runs in a child that becomes "nobody" first.
TEST_F(PosixFileSystemTest, AFolderThatMayNotBeReadGivesPermissionDenied) {
    ASSERT_EQ(::chmod(bytes(tree.path()).constData(), 0755), 0);
    const QString locked = tree.folder("locked");
    tree.folder("locked/inner");
    ASSERT_EQ(::chmod(bytes(locked).constData(), 0), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(90);
        PosixFileSystem own;
        const SubFolderListing listing = own.subFolders(locked);
        ::_exit(listing.error == listing::PermissionDenied && listing.folders.empty()
                        && own.filesMatching(locked, "*.*").isEmpty()
                    ? 0
                    : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(bytes(locked).constData(), 0755);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(fs.subFolders(tree.path("missing")).error, listing::PathNotFound);
}

} // namespace
} // namespace hv
