#include "filelist/PathRules.h"
#include "filelist/AddFiles.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(NormalizePath, WindowsOnePassAndNetworkPaths) {
    auto windows = [](const QString& path) { return normalizePath(path, PathStyle::Windows); };
    EXPECT_EQ(windows(R"(C:\\a.psd)"), R"(C:\a.psd)");
    EXPECT_EQ(windows(R"(a\\\b)"), R"(a\\b)");    // three become two
    EXPECT_EQ(windows(R"(a\\\\b)"), R"(a\\b)");   // four become two
    EXPECT_EQ(windows(R"(a\\\\\b)"), R"(a\\\b)"); // five become three
    EXPECT_EQ(windows(R"(\\server\share\\a.psd)"), R"(\\server\share\a.psd)");
    EXPECT_EQ(windows(R"(\\\\server\a.psd)"), R"(\\server\a.psd)");
    EXPECT_EQ(windows(R"(\x.psd)"), R"(\\x.psd)");
    EXPECT_EQ(windows(R"(\\\)"), R"(\\)");
}

TEST(NormalizePath, PosixOnePassWithoutADoubledLeadingSlash) {
    auto posix = [](const QString& path) { return normalizePath(path, PathStyle::Posix); };
    EXPECT_EQ(posix("//a.psd"), "/a.psd"); // a file found in "/"
    EXPECT_EQ(posix("/home/u//art//a.psd"), "/home/u/art/a.psd");
    EXPECT_EQ(posix("a///b"), "a//b"); // one pass
    EXPECT_EQ(posix("///a.psd"), "/a.psd");
    EXPECT_EQ(posix("/"), "/");
    EXPECT_EQ(posix(R"(/a\\b)"), R"(/a\\b)"); // a backslash is part of a Linux name
}

TEST(UnsafeFolderNames, ControlCharactersQuestionMarksAndBytesThatAreNotText) {
    EXPECT_FALSE(hasUnsafeCharacters(QString::fromUtf8("Art 2021 Ünïcode € ✓")));
    for (const char16_t code : {u'\t', char16_t(31), char16_t(127), char16_t(0x85), char16_t(159), u'?'})
        EXPECT_TRUE(hasUnsafeCharacters(QString("x") + QChar(code))) << int(code);
    EXPECT_FALSE(hasUnsafeCharacters(QString("x") + QChar(160)));
    EXPECT_TRUE(hasUnsafeCharacters(QString::fromUtf8("bad\xff\xfename")));
}

TEST(DialogAnswers, OneFileIsOnePathSeveralAreFolderAndNames) {
    const QString nul(QChar(u'\0'));
    EXPECT_TRUE(dialogAnswers({}, PathStyle::Posix).isEmpty());
    EXPECT_EQ(dialogAnswers({"/art/a.psd"}, PathStyle::Posix), QStringList{"/art/a.psd"});
    EXPECT_EQ(dialogAnswers({"/art/a.psd", "/art/b.psd"}, PathStyle::Posix),
              QStringList{"/art" + nul + "a.psd" + nul + "b.psd"});
    EXPECT_EQ(dialogAnswers({R"(C:\a.psd)", R"(C:\b.psd)"}, PathStyle::Windows),
              QStringList{R"(C:\)" + nul + "a.psd" + nul + "b.psd"});
    EXPECT_EQ(dialogAnswers({"/x/a.psd", "/x/b.psd", "/y/c.psd"}, PathStyle::Posix),
              (QStringList{"/x" + nul + "a.psd" + nul + "b.psd", "/y/c.psd"}));
}

} // namespace
} // namespace hv
