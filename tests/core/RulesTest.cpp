// The small text rules every part shares.
#include "core/AppTitleRule.h"
#include "core/FileNameOfPath.h"
#include "core/Wildcard.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(FileNameOfPath, TakesTheTextAfterTheLastSlash) {
    EXPECT_EQ(FileNameOfPath("/art/2021/poster.psd", u'/'), "poster.psd");
    EXPECT_EQ(FileNameOfPath("poster.psd", u'/'), "poster.psd");
    EXPECT_EQ(FileNameOfPath("/art/folder/", u'/'), "");
    EXPECT_EQ(FileNameOfPath("", u'/'), "");
    EXPECT_EQ(FileNameOfPath("/art/ with blanks .psd", u'/'), " with blanks .psd");
}

TEST(FileNameOfPath, WithTheBackslashSeparatorSlashesAreOrdinaryCharacters) {
    EXPECT_EQ(FileNameOfPath("C:\\art\\poster.psd", u'\\'), "poster.psd");
    EXPECT_EQ(FileNameOfPath("C:\\art/sub/poster.psd", u'\\'), "art/sub/poster.psd");
    EXPECT_EQ(FileNameOfPath("/art/poster.psd", u'\\'), "/art/poster.psd");
    EXPECT_EQ(FileNameOfPath("C:\\art\\poster.psd", u'/'), "C:\\art\\poster.psd");
}

TEST(FileNameOfPath, UsesThisPlatformsSeparatorByDefault) {
#ifdef Q_OS_WIN
    EXPECT_EQ(FileNameOfPath("C:\\art\\poster.psd"), "poster.psd");
#else
    EXPECT_EQ(FileNameOfPath("/home/ann/art/poster.psd"), "poster.psd");
    EXPECT_EQ(FileNameOfPath("/home/ann/back\\slash.psd"), "back\\slash.psd");
#endif
}

TEST(Wildcards, MatchAsWindowsListingsDo) {
    EXPECT_TRUE(matchesWildcard("LOGO.PSD", "*.psd"));
    EXPECT_TRUE(matchesWildcard(QString::fromUtf8("ÄRGER.psd"), QString::fromUtf8("ä*.psd")));
    EXPECT_FALSE(matchesWildcard("logo.psd.bak", "*.psd"));
    for (const char* name : {"a.psd", "README", ".hidden", "trailing.", ""})
        EXPECT_TRUE(matchesWildcard(name, "*.*")) << name;
    EXPECT_TRUE(matchesWildcard("x..psd", "*..psd")); // the answer ".psd"
    EXPECT_FALSE(matchesWildcard("x.psd", "*..psd"));
    EXPECT_TRUE(matchesWildcard("a1.psd", "a?.psd"));
    EXPECT_FALSE(matchesWildcard("a.psd", "a?.psd"));
    EXPECT_TRUE(matchesWildcard("abcabcabd", "*abd")); // the star backtracks
}

TEST(AppTitle, CutsAtTheLastBlankOnceThenWhileLongerThanForty) {
    EXPECT_EQ(shortAppTitle("Halvorine"), "Halvorine");
    EXPECT_EQ(shortAppTitle("Layer Finder Pro"), "Layer Finder");
    EXPECT_EQ(shortAppTitle("Find layers in many Photoshop documents at once"),
              "Find layers in many Photoshop documents");
    EXPECT_EQ(shortAppTitle("Aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa b"),
              "Aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
    EXPECT_EQ(shortAppTitle(""), "");
}

} // namespace
} // namespace hv
