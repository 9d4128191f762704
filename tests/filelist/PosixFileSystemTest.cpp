#include "platform/PosixFileSystem.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hv {
namespace {

using test::TempDir;

QByteArray bytes(const QString& path) { return QFile::encodeName(path); }

void makeFifo(const QString& path) { ASSERT_EQ(::mkfifo(bytes(path).constData(), 0644), 0); }
void makeLink(const QString& target, const QString& link) {
    ASSERT_EQ(::symlink(bytes(target).constData(), bytes(link).constData()), 0);
}
void setMode(const QString& path, mode_t mode) { ASSERT_EQ(::chmod(bytes(path).constData(), mode), 0); }

QStringList names(const SubFolderListing& listing) {
    QStringList result;
    for (const SubFolder& folder : listing.folders) result.append(folder.name);
    return result;
}

// Runs `check` in a child process that, when this one is the superuser,
// first becomes the unprivileged user "nobody", so that permissions apply.
// Returns the child's exit status.
template <class Check>
int asUnprivilegedUser(Check check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(90);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

class PosixFileSystemTest : public ::testing::Test {
protected:
    TempDir tree;
    PosixFileSystem fs;
};

TEST_F(PosixFileSystemTest, AttributesStandInForTheWindowsFlags) {
    const QString plain = tree.file("a.psd");
    const QString dotFile = tree.file(".hidden.psd");
    const QString readOnlyDot = tree.file(".locked.psd");
    setMode(readOnlyDot, 0444);
    const QString folder = tree.folder("sub");
    const QString dotFolder = tree.folder(".cache");
    makeLink(plain, tree.path("link.psd"));
    makeLink(folder, tree.path("linkdir"));
    makeLink(tree.path("missing"), tree.path("dangling"));
    makeFifo(tree.path("pipe"));

    EXPECT_EQ(fs.attributes(plain), attr::Archive);
    EXPECT_EQ(fs.attributes(dotFile), 34);
    EXPECT_EQ(fs.attributes(readOnlyDot), 35);
    EXPECT_EQ(fs.attributes(folder), attr::Folder);
    EXPECT_EQ(fs.attributes(folder + "/"), attr::Folder);
    EXPECT_EQ(fs.attributes(dotFolder), attr::Folder | attr::Hidden);
    EXPECT_EQ(fs.attributes(tree.path("link.psd")), attr::Archive | attr::Alias);
    EXPECT_EQ(fs.attributes(tree.path("linkdir")), attr::Folder | attr::Alias);
    EXPECT_EQ(fs.attributes(tree.path("linkdir/")), attr::Folder | attr::Alias);
    EXPECT_EQ(fs.attributes(tree.path("dangling")), attr::Alias);
    EXPECT_EQ(fs.attributes(tree.path("pipe")), 0);
    EXPECT_EQ(fs.attributes(tree.path("missing")), -1);
    EXPECT_EQ(fs.attributes(""), -1);
    EXPECT_EQ(fs.attributes(tree.path(".")) & attr::Hidden, 0);
}

TEST_F(PosixFileSystemTest, ExistingFileMeansARegularFileAndNeverWaitsOnAPipe) {
    const QString plain = tree.file("a.psd");
    makeFifo(tree.path("pipe.psd"));
    makeLink(plain, tree.path("link.psd"));
    EXPECT_TRUE(fs.isExistingFile(plain));
    EXPECT_TRUE(fs.isExistingFile(tree.path("link.psd")));
    EXPECT_FALSE(fs.isExistingFile(tree.path("pipe.psd")));  // would hang if opened
    EXPECT_FALSE(fs.isExistingFile(tree.path()));
    EXPECT_FALSE(fs.isExistingFile(tree.path("missing.psd")));
    EXPECT_FALSE(fs.isExistingFile("/dev/null"));
    EXPECT_FALSE(fs.isExistingFile(""));
    EXPECT_TRUE(fs.isExistingFolder(tree.path()));
    EXPECT_FALSE(fs.isExistingFolder(plain));
    EXPECT_FALSE(fs.isExistingFolder(tree.path("pipe.psd")));
}

TEST_F(PosixFileSystemTest, RootFolderAndFolderIdentity) {
    EXPECT_TRUE(fs.isRootFolder("/"));
    EXPECT_TRUE(fs.isRootFolder("//"));
    EXPECT_FALSE(fs.isRootFolder(tree.path()));
    const QString folder = tree.folder("real");
    makeLink(folder, tree.path("alias"));
    ASSERT_TRUE(fs.folderId(folder).has_value());
    EXPECT_EQ(fs.folderId(folder), fs.folderId(tree.path("alias/")));
    EXPECT_NE(fs.folderId(folder), fs.folderId(tree.path()));
    EXPECT_FALSE(fs.folderId(tree.file("f.psd")).has_value());
}

TEST_F(PosixFileSystemTest, SubFoldersIncludeHiddenAndLinkedFoldersSortedWithoutCase) {
    tree.folder("beta");
    tree.folder("Alpha");
    tree.folder(".dot");
    tree.folder("gamma");
    tree.file("file.psd");
    makeLink(tree.path("gamma"), tree.path("delta"));
    makeLink(tree.path("file.psd"), tree.path("filelink"));
    makeFifo(tree.path("pipe"));
    const SubFolderListing listing = fs.subFolders(tree.path() + "/");
    EXPECT_EQ(listing.error, 0);
    EXPECT_EQ(names(listing), (QStringList{".dot", "Alpha", "beta", "delta", "gamma"}));
}

TEST_F(PosixFileSystemTest, SubFolderListingFailuresCarryTheirErrorNumbers) {
    EXPECT_EQ(fs.subFolders(tree.path("missing")).error, listing::PathNotFound);
    EXPECT_EQ(fs.subFolders(tree.file("f.psd")).error, listing::PathNotFound);
    makeFifo(tree.path("pipe"));
    EXPECT_EQ(fs.subFolders(tree.path("pipe")).error, listing::PathNotFound);  // and does not wait

    // Permission: as an unprivileged user, even when the tests run as root.
    setMode(tree.path(), 0755);
    const QString locked = tree.folder("locked");
    tree.folder("locked/inner");
    setMode(locked, 0000);
    const int status = asUnprivilegedUser([&] {
        PosixFileSystem own;
        const SubFolderListing listing = own.subFolders(locked);
        if (listing.error != listing::PermissionDenied || !listing.folders.empty()) return 1;
        if (!own.filesMatching(locked, "*.*").isEmpty()) return 2;
        return 0;
    });
    setMode(locked, 0755);
    EXPECT_EQ(status, 0);
}

TEST_F(PosixFileSystemTest, NamesThatAreNotTextAreMarkedOrLeftOut) {
    const QByteArray base = bytes(tree.path());
    ASSERT_EQ(::mkdir((base + "/bad\xff\xfe").constData(), 0755), 0);
    const int fd = ::open((base + "/odd\xff.psd").constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    tree.file("good.psd");

    const SubFolderListing listing = fs.subFolders(tree.path());
    ASSERT_EQ(listing.folders.size(), 1u);
    EXPECT_TRUE(listing.folders[0].name.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(fs.filesMatching(tree.path(), "*.*"), QStringList{"good.psd"});
}

TEST_F(PosixFileSystemTest, FilesMatchingLeavesOutFoldersAndKeepsHiddenFiles) {
    tree.file("b.PSD");
    tree.file("a.psd");
    tree.file(".hidden.psd");
    tree.file("notes.txt");
    tree.folder("folder.psd");
    makeLink(tree.path("folder.psd"), tree.path("linked.psd"));
    makeFifo(tree.path("pipe.psd"));
    EXPECT_EQ(fs.filesMatching(tree.path(), "*.psd"), (QStringList{".hidden.psd", "a.psd", "b.PSD", "pipe.psd"}));
    EXPECT_EQ(fs.filesMatching(tree.path() + "/", "*.*"),
              (QStringList{".hidden.psd", "a.psd", "b.PSD", "notes.txt", "pipe.psd"}));
    EXPECT_TRUE(fs.filesMatching(tree.path("missing"), "*.*").isEmpty());
}

TEST_F(PosixFileSystemTest, PathLengthIsMeasuredInEncodedBytes) {
    EXPECT_EQ(fs.pathLength("/abc"), 4);
    EXPECT_EQ(fs.pathLength(QString::fromUtf8("/€")), 4);
    EXPECT_GE(fs.pathLengthLimit(), 256);
}

} // namespace
} // namespace hv
