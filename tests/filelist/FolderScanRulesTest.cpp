// The folder scan's rules that a Linux tree cannot show: system folders,
// drive roots, listing failures, the path limit and failure reports, over an
// in-memory file system.
#include "ScanHarness.h"
#include "support/TestFileSystems.h"

#include <gtest/gtest.h>

namespace hv::test {
namespace {

class FolderScanRules : public ::testing::Test {
protected:
    FakeFileSystem fs{PathStyle::Windows};
    ScanHarness harness{fs};
};

TEST_F(FolderScanRules, RootsGiveNoDoubledSeparatorInEitherStyle) {
    fs.addRoot(R"(C:\)");
    fs.addFile(R"(C:\x.psd)");
    fs.addFile(R"(C:\Art\y.psd)");
    fs.addFolder(R"(C:\Art)");
    EXPECT_EQ(harness.add(R"(C:\)", "*.psd"), (QStringList{R"(C:\x.psd)", R"(C:\Art\y.psd)"}));

    FakeFileSystem posix(PathStyle::Posix);
    posix.addRoot("/");
    posix.addFile("/x.psd");
    posix.addFolder("/art");
    posix.addFile("/art/y.psd");
    ScanHarness scan(posix);
    EXPECT_EQ(scan.add("/", "*.psd"), (QStringList{"/x.psd", "/art/y.psd"}));
}

TEST_F(FolderScanRules, HiddenSystemFoldersAreSkippedWithTheirSubtreesUnlessRoot) {
    fs.addRoot(R"(C:\)", 22);
    fs.addFile(R"(C:\root.psd)");
    fs.addFolder(R"(C:\System Volume Information)", 22);
    fs.addFile(R"(C:\System Volume Information\s.psd)");
    fs.addFolder(R"(C:\System Volume Information\inner)");
    fs.addFile(R"(C:\System Volume Information\inner\t.psd)");
    fs.addFolder(R"(C:\Junction)", 1046);
    fs.addFile(R"(C:\Junction\j.psd)");
    fs.addFolder(R"(C:\Hidden)", 18);
    fs.addFile(R"(C:\Hidden\h.psd)");
    EXPECT_EQ(harness.add(R"(C:\)", "*.psd"), (QStringList{R"(C:\root.psd)", R"(C:\Hidden\h.psd)"}));
}

TEST_F(FolderScanRules, OnlyFilesOfExactlyHiddenPlusArchiveAreLeftOut) {
    fs.addFolder(R"(D:\Art)");
    for (const int value : {34, 35, 2, 38, 0}) fs.addFile(QString(R"(D:\Art\%1.psd)").arg(value), value);
    EXPECT_EQ(harness.add(R"(D:\Art)", "*.psd"),
              (QStringList{R"(D:\Art\0.psd)", R"(D:\Art\2.psd)", R"(D:\Art\35.psd)", R"(D:\Art\38.psd)"}));
}

TEST_F(FolderScanRules, RefusedOrVanishedFoldersLeaveTheListOtherFailuresKeepWhatWasRead) {
    fs.addFolder(R"(D:\T)");
    for (const char* name : {"Broken", "Denied", "Gone"}) {
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
    EXPECT_EQ(harness.add(R"(D:\T)", "*.psd"), (QStringList{R"(D:\T\Broken\in.psd)", R"(D:\T\Broken\A\a.psd)"}));
    EXPECT_TRUE(harness.messages.shown.empty());
}

TEST_F(FolderScanRules, AFolderAtThePathLimitIsListedButNotDescendedInto) {
    fs.limit = 12;
    fs.addFolder(R"(D:\T)");
    fs.addFolder(R"(D:\T\abcdef)"); // "D:\T\abcdef\" has 12 characters
    fs.addFile(R"(D:\T\abcdef\a.psd)");
    fs.addFolder(R"(D:\T\abcdef\x)");
    fs.addFile(R"(D:\T\abcdef\x\b.psd)");
    fs.addFolder(R"(D:\T\abcdefghijkl)"); // a 12-character name
    fs.addFile(R"(D:\T\abcdefghijkl\c.psd)");
    EXPECT_EQ(harness.add(R"(D:\T)", "*.psd"), QStringList{R"(D:\T\abcdef\a.psd)"});
}

TEST_F(FolderScanRules, FailuresGoToTheCallerOrToTheScansOwnReport) {
    fs.addFolder(R"(D:\T)");
    fs.addFile(R"(D:\T\a.psd)");
    fs.addFile(R"(D:\T\b.psd)");
    fs.attributesVanishAfter(R"(D:\T\a.psd)", 0);
    fs.addFolder(R"(D:\T\Sub)");
    fs.addFile(R"(D:\T\Sub\s.psd)");
    // Read by the existence test, then gone when the folder filter reads it.
    fs.attributesVanishAfter(R"(D:\T\Sub)", 1);
    EXPECT_EQ(harness.add(R"(D:\T)", "*.psd"), QStringList{R"(D:\T\b.psd)"});
    EXPECT_EQ(harness.reported, QStringList{"File not found"});
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    EXPECT_EQ(harness.messages.shown[0].title, "Application Error");
    EXPECT_TRUE(harness.messages.shown[0].text.startsWith(
        "Path not found\r\nin Quorlane2021/08/31.AddFolder.GetSubDirectories2016 at line 106\r\r"));
}

TEST_F(FolderScanRules, EventsRunOncePerFolderExaminedSubFolderSeenAndFolderCollected) {
    fs.addFolder(R"(D:\T)");
    fs.addFolder(R"(D:\T\A)");
    fs.addFolder(R"(D:\T\B)");
    fs.addFolder(R"(D:\T\A\C)");
    harness.add(R"(D:\T)", "*.psd");
    // Examined: T, A, B, C; seen: A, B, C; collected: A, B, C.
    EXPECT_EQ(harness.events.calls, 10);
}

} // namespace
} // namespace hv::test
