#include "filelist/AddFiles.h"
#include "filelist/PathRules.h"
#include "platform/Wildcard.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

QString windows(const QString& path) { return normalizePath(path, PathStyle::Windows); }
QString posix(const QString& path) { return normalizePath(path, PathStyle::Posix); }

TEST(NormalizePathWindows, CollapsesDoubledBackslashesInOnePass) {
    EXPECT_EQ(windows(R"(C:\\a.psd)"), R"(C:\a.psd)");
    EXPECT_EQ(windows(R"(D:\Art\\b\c.psd)"), R"(D:\Art\b\c.psd)");
    EXPECT_EQ(windows(R"(a\\\b)"), R"(a\\b)");        // three become two
    EXPECT_EQ(windows(R"(a\\\\b)"), R"(a\\b)");       // four become two
    EXPECT_EQ(windows(R"(a\\\\\b)"), R"(a\\\b)");     // five become three
    EXPECT_EQ(windows(R"(D:\Art\a.psd)"), R"(D:\Art\a.psd)");
    EXPECT_EQ(windows(""), "");
}

TEST(NormalizePathWindows, NetworkPathsStartWithExactlyTwoBackslashes) {
    EXPECT_EQ(windows(R"(\\server\share\\a.psd)"), R"(\\server\share\a.psd)");
    EXPECT_EQ(windows(R"(\\\\server\a.psd)"), R"(\\server\a.psd)");
    EXPECT_EQ(windows(R"(\x.psd)"), R"(\\x.psd)");
    EXPECT_EQ(windows(R"(\\\\\\)"), R"(\\)");
    EXPECT_EQ(windows(R"(\)"), R"(\\)");
}

TEST(NormalizePathPosix, CollapsesDoubledSlashesAndNeverLeavesTwoLeading) {
    EXPECT_EQ(posix("//a.psd"), "/a.psd");             // a file found in "/"
    EXPECT_EQ(posix("/home/u//art//a.psd"), "/home/u/art/a.psd");
    EXPECT_EQ(posix("a///b"), "a//b");                 // one pass: three become two
    EXPECT_EQ(posix("a////b"), "a//b");
    EXPECT_EQ(posix("///a.psd"), "/a.psd");
    EXPECT_EQ(posix("////"), "/");
    EXPECT_EQ(posix("/"), "/");
    EXPECT_EQ(posix("rel//a"), "rel/a");
    // Backslashes are ordinary characters of a Linux name.
    EXPECT_EQ(posix(R"(/a\\b)"), R"(/a\\b)");
}

TEST(UnsafeFolderNames, ControlCharactersQuestionMarksAndUnreadableBytes) {
    EXPECT_FALSE(hasUnsafeCharacters("Art 2021"));
    EXPECT_FALSE(hasUnsafeCharacters(QString::fromUtf8("Ünïcode € ✓")));
    EXPECT_FALSE(hasUnsafeCharacters(QString()));
    EXPECT_TRUE(hasUnsafeCharacters("why?"));
    EXPECT_TRUE(hasUnsafeCharacters(QString("tab") + QChar(9)));
    EXPECT_TRUE(hasUnsafeCharacters(QString("x") + QChar(31)));
    EXPECT_FALSE(hasUnsafeCharacters(QString("x") + QChar(32)));
    EXPECT_TRUE(hasUnsafeCharacters(QString("x") + QChar(127)));
    EXPECT_TRUE(hasUnsafeCharacters(QString("x") + QChar(0x85)));
    EXPECT_TRUE(hasUnsafeCharacters(QString("x") + QChar(159)));
    EXPECT_FALSE(hasUnsafeCharacters(QString("x") + QChar(160)));
    EXPECT_TRUE(hasUnsafeCharacters(QString::fromUtf8("bad\xff\xfename")));
}

TEST(Wildcards, MatchWithoutRegardToCase) {
    EXPECT_TRUE(matchesWildcard("LOGO.PSD", "*.psd"));
    EXPECT_TRUE(matchesWildcard("logo.psd", "*.PSD"));
    EXPECT_TRUE(matchesWildcard(QString::fromUtf8("ÄRGER.psd"), QString::fromUtf8("ä*.psd")));
    EXPECT_FALSE(matchesWildcard("logo.psb", "*.psd"));
    EXPECT_FALSE(matchesWildcard("logo.psd.bak", "*.psd"));
    EXPECT_FALSE(matchesWildcard("psd", "*.psd"));
    EXPECT_TRUE(matchesWildcard(".psd", "*.psd"));
}

TEST(Wildcards, StarDotStarMatchesEveryName) {
    for (const char* name : {"a.psd", "README", ".hidden", "x.y.z", "trailing.", "~tmp"})
        EXPECT_TRUE(matchesWildcard(name, "*.*")) << name;
    EXPECT_TRUE(matchesWildcard("a", "a.*"));
    EXPECT_TRUE(matchesWildcard("a.txt", "a.*"));
    EXPECT_FALSE(matchesWildcard("b", "a.*"));
}

TEST(Wildcards, QuestionMarkIsExactlyOneCharacterAndStarsBacktrack) {
    EXPECT_TRUE(matchesWildcard("a1.psd", "a?.psd"));
    EXPECT_FALSE(matchesWildcard("a.psd", "a?.psd"));
    EXPECT_FALSE(matchesWildcard("a12.psd", "a?.psd"));
    EXPECT_TRUE(matchesWildcard("x..psd", "*..psd"));   // the answer ".psd"
    EXPECT_FALSE(matchesWildcard("x.psd", "*..psd"));
    EXPECT_TRUE(matchesWildcard("abcabcabd", "*abd"));
    EXPECT_TRUE(matchesWildcard("a.b.c.psd", "*.*.psd"));
    EXPECT_TRUE(matchesWildcard("anything", "*"));
    EXPECT_TRUE(matchesWildcard("", "*"));
    EXPECT_FALSE(matchesWildcard("a/b.psd", "b.psd"));
}

TEST(DialogAnswers, OneFileIsOnePathSeveralAreFolderAndNames) {
    EXPECT_TRUE(dialogAnswers({}, PathStyle::Posix).isEmpty());
    EXPECT_EQ(dialogAnswers({"/art/a.psd"}, PathStyle::Posix), QStringList{"/art/a.psd"});
    const QString nul(QChar(u'\0'));
    EXPECT_EQ(dialogAnswers({"/art/a.psd", "/art/b.psd", "/art/c.psd"}, PathStyle::Posix),
              QStringList{"/art" + nul + "a.psd" + nul + "b.psd" + nul + "c.psd"});
    EXPECT_EQ(dialogAnswers({"/a.psd", "/b.psd"}, PathStyle::Posix), QStringList{"/" + nul + "a.psd" + nul + "b.psd"});
    EXPECT_EQ(dialogAnswers({R"(C:\a.psd)", R"(C:\b.psd)"}, PathStyle::Windows),
              QStringList{R"(C:\)" + nul + "a.psd" + nul + "b.psd"});
    EXPECT_EQ(dialogAnswers({"/x/a.psd", "/x/b.psd", "/y/c.psd"}, PathStyle::Posix),
              (QStringList{"/x" + nul + "a.psd" + nul + "b.psd", "/y/c.psd"}));
}

} // namespace
} // namespace hv
