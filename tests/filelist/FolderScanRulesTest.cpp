// The folder scan's rules over an in-memory file system: attribute filters,
// roots, listing failures, length limits and failure reports, in both path
// styles.
#include "ScanHarness.h"
#include "TestFileSystems.h"

#include <gtest/gtest.h>

namespace hv::test {
namespace {

constexpr int kHiddenSystemFolder = 22;
constexpr int kHiddenSystemLinkedFolder = 1046;

class FolderScanRules : public ::testing::Test {
protected:
    FakeFileSystem fs{PathStyle::Windows};
    ScanHarness harness{fs};
};

TEST_F(FolderScanRules, ADriveRootGivesPathsWithoutADoubledBackslash) {
    fs.addRoot(R"(C:\)");
    fs.addFile(R"(C:\x.psd)");
    fs.addFolder(R"(C:\Art)");
    fs.addFile(R"(C:\Art\y.psd)");
    EXPECT_EQ(harness.add(R"(C:\)", "*.psd"), (QStringList{R"(C:\x.psd)", R"(C:\Art\y.psd)"}));
}

TEST_F(FolderScanRules, TheLinuxRootGivesPathsWithASingleLeadingSlash) {
    FakeFileSystem posix(PathStyle::Posix);
    posix.addRoot("/");
    posix.addFile("/x.psd");
    posix.addFolder("/art");
    posix.addFile("/art/y.psd");
    ScanHarness scan(posix);
    EXPECT_EQ(scan.add("/", "*.psd"), (QStringList{"/x.psd", "/art/y.psd"}));
}

TEST_F(FolderScanRules, HiddenSystemFoldersAreSkippedWithTheirSubtreesUnlessRoot) {
    fs.addRoot(R"(C:\)", kHiddenSystemFolder);
    fs.addFile(R"(C:\root.psd)");
    fs.addFolder(R"(C:\System Volume Information)", kHiddenSystemFolder);
    fs.addFile(R"(C:\System Volume Information\s.psd)");
    fs.addFolder(R"(C:\System Volume Information\inner)");
    fs.addFile(R"(C:\System Volume Information\inner\t.psd)");
    fs.addFolder(R"(C:\Junction)", kHiddenSystemLinkedFolder);
    fs.addFile(R"(C:\Junction\j.psd)");
    fs.addFolder(R"(C:\Hidden)", attr::Folder | attr::Hidden);
    fs.addFile(R"(C:\Hidden\h.psd)");
    fs.addFolder(R"(C:\Hidden\Sys)", kHiddenSystemFolder);
    fs.addFile(R"(C:\Hidden\Sys\z.psd)");
    EXPECT_EQ(harness.add(R"(C:\)", "*.psd"), (QStringList{R"(C:\root.psd)", R"(C:\Hidden\h.psd)"}));
}

TEST_F(FolderScanRules, OnlyFilesOfExactlyHiddenPlusArchiveAreLeftOut) {
    fs.addFolder(R"(D:\Art)");
    fs.addFile(R"(D:\Art\a.psd)", 34);
    fs.addFile(R"(D:\Art\b.psd)", 35);
    fs.addFile(R"(D:\Art\c.psd)", 2);
    fs.addFile(R"(D:\Art\d.psd)", 38);
    fs.addFile(R"(D:\Art\e.psd)", 0);
    fs.addFile(R"(D:\Art\~f.psd)", 32);
    EXPECT_EQ(harness.add(R"(D:\Art)", "*.psd"), (QStringList{R"(D:\Art\b.psd)", R"(D:\Art\c.psd)",
                                                              R"(D:\Art\d.psd)", R"(D:\Art\e.psd)"}));
}

TEST_F(FolderScanRules, RefusedOrVanishedFoldersLeaveTheListOtherFailuresKeepWhatWasRead) {
    fs.addFolder(R"(D:\T)");
    fs.addFile(R"(D:\T\t.psd)");
    for (const char* name : {"Denied", "Gone", "Broken"}) {
        const QString folder = QString(R"(D:\T\)") + name;
        fs.addFolder(folder);
        fs.addFile(folder + R"(\in.psd)");
        fs.addFolder(folder + R"(\A)");
        fs.addFile(folder + R"(\A\a.psd)");
        fs.addFolder(folder + R"(\B)");
        fs.addFile(folder + R"(\B\b.psd)");
    }
    fs.failListing(R"(D:\T\Denied)", listing::PermissionDenied);
    fs.failListing(R"(D:\T\Gone)", listing::PathNotFound);
    fs.failListing(R"(D:\T\Broken)", 57, 1);
    EXPECT_EQ(harness.add(R"(D:\T)", "*.psd"),
              (QStringList{R"(D:\T\t.psd)", R"(D:\T\Broken\in.psd)", R"(D:\T\Broken\A\a.psd)"}));
    EXPECT_TRUE(harness.messages.shown.empty());
}

TEST_F(FolderScanRules, ATopFolderThatRefusesListingAddsNothing) {
    fs.addFolder(R"(D:\T)");
    fs.addFile(R"(D:\T\t.psd)");
    fs.failListing(R"(D:\T)", listing::PermissionDenied);
    EXPECT_TRUE(harness.add(R"(D:\T)", "*.psd").isEmpty());
    EXPECT_TRUE(harness.messages.shown.empty());
}

TEST_F(FolderScanRules, AFolderAtThePathLimitIsListedButNotDescendedInto) {
    fs.limit = 12;
    fs.addFolder(R"(D:\T)");
    fs.addFolder(R"(D:\T\abcdef)");   // "D:\T\abcdef\" has 12 characters
    fs.addFile(R"(D:\T\abcdef\a.psd)");
    fs.addFolder(R"(D:\T\abcdef\x)");
    fs.addFile(R"(D:\T\abcdef\x\b.psd)");
    fs.addFolder(R"(D:\T\abcdefghijkl)");  // a 12-character name
    fs.addFile(R"(D:\T\abcdefghijkl\c.psd)");
    EXPECT_EQ(harness.add(R"(D:\T)", "*.psd"), QStringList{R"(D:\T\abcdef\a.psd)"});
}

TEST_F(FolderScanRules, UnsafeAndDotNamesAreNotWalked) {
    fs.addFolder(R"(D:\T)");
    for (const QString& name : {QString("ok"), QString("q?"), QString("c") + QChar(0x90), QString(".."),
                                QString(".")}) {
        fs.addFolder(R"(D:\T\)" + name);
        fs.addFile(R"(D:\T\)" + name + R"(\f.psd)");
    }
    EXPECT_EQ(harness.add(R"(D:\T)", "*.psd"), QStringList{R"(D:\T\ok\f.psd)"});
}

TEST_F(FolderScanRules, AFileWhoseAttributesVanishIsReportedToTheCallerAndTheScanGoesOn) {
    fs.addFolder(R"(D:\T)");
    fs.addFile(R"(D:\T\a.psd)");
    fs.addFile(R"(D:\T\b.psd)");
    fs.addFile(R"(D:\T\c.psd)");
    fs.attributesVanishAfter(R"(D:\T\b.psd)", 0);
    EXPECT_EQ(harness.add(R"(D:\T)", "*.psd"), (QStringList{R"(D:\T\a.psd)", R"(D:\T\c.psd)"}));
    EXPECT_EQ(harness.reported, QStringList{"File not found"});
    EXPECT_TRUE(harness.messages.shown.empty());
}

TEST_F(FolderScanRules, GetSubDirectoriesReportsItsOwnFailuresUnderTheScanTag) {
    fs.addFolder(R"(D:\T)");
    fs.addFolder(R"(D:\T\Sub)");
    fs.addFile(R"(D:\T\Sub\s.psd)");
    // Read once by the existence test, then gone when the filter reads it.
    fs.attributesVanishAfter(R"(D:\T\Sub)", 1);
    EXPECT_TRUE(harness.add(R"(D:\T)", "*.psd").isEmpty());
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    const Message& report = harness.messages.shown.front();
    EXPECT_EQ(report.title, "Application Error");
    EXPECT_EQ(report.icon, MessageIcon::Warning);
    EXPECT_TRUE(report.text.startsWith("Path not found\r\nin Quorlane2021/08/31.AddFolder.GetSubDirectories2016 at line "))
        << report.text.toStdString();
}

TEST_F(FolderScanRules, EventsRunOncePerFolderExaminedSubFolderSeenAndFolderCollected) {
    fs.addFolder(R"(D:\T)");
    fs.addFolder(R"(D:\T\A)");
    fs.addFolder(R"(D:\T\B)");
    fs.addFolder(R"(D:\T\A\C)");
    fs.addFile(R"(D:\T\A\C\c.psd)");
    harness.add(R"(D:\T)", "*.psd");
    // Examined: T, A, B, C; seen: A, B, C; collected: A, B, C.
    EXPECT_EQ(harness.events.calls, 10);
}

TEST_F(FolderScanRules, GetSubDirectoriesExtendsTheListLevelByLevel) {
    fs.addFolder(R"(D:\T)");
    fs.addFolder(R"(D:\T\b)");
    fs.addFolder(R"(D:\T\A)");
    fs.addFolder(R"(D:\T\A\x)");
    fs.addFolder(R"(D:\T\b\y)");
    fs.addFolder(R"(D:\T\A\x\z)");
    std::vector<QString> folders{R"(D:\T\)"};
    harness.scan.getSubDirectories(folders);
    EXPECT_EQ(folders, (std::vector<QString>{R"(D:\T\)", R"(D:\T\A\)", R"(D:\T\b\)", R"(D:\T\A\x\)",
                                             R"(D:\T\b\y\)", R"(D:\T\A\x\z\)"}));
}

} // namespace
} // namespace hv::test
