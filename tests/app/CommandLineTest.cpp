#include "app/CommandLine.h"
#include "platform/PathBytes.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace hv {
namespace {

using Kind = StartRequest::Kind;

QStringList args(std::initializer_list<const char*> given) {
    QStringList list{QStringLiteral("/usr/bin/halvorine")};
    for (const char* arg : given) list.append(QString::fromUtf8(arg));
    return list;
}

TEST(CommandLine, PathsBecomeAbsoluteInTheGivenOrder) {
    const StartRequest request =
        readCommandLine(args({"b.psd", "/abs/A.psd", "", "sub/../Designs", "--", "-v"}), QStringLiteral("/home/u"));
    EXPECT_EQ(request.kind, Kind::Window);
    EXPECT_EQ(request.paths, (QStringList{"/home/u/b.psd", "/abs/A.psd", "/home/u/Designs", "/home/u/-v"}));
    EXPECT_FALSE(request.printFileList);
    EXPECT_TRUE(readCommandLine(args({"--print-file-list", "x"}), QStringLiteral("/")).printFileList);
}

TEST(CommandLine, PathsKeepBytesThatAreNotUtf8) {
    char program[] = "halvorine", name[] = "caf\xe9.psd";
    char* argv[] = {program, name};
    const StartRequest request = readCommandLine(rawArguments(2, argv), QStringLiteral("/d"));
    ASSERT_EQ(request.paths.size(), 1);
    EXPECT_EQ(pathBytes(request.paths[0]), QByteArray("/d/caf\xe9.psd"));
}

TEST(CommandLine, HelpVersionAndWrongOptions) {
    QCoreApplication::setApplicationName(QStringLiteral("Halvorine"));
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8"));
    struct Row {
        QStringList arguments;
        Kind kind;
        const char* text; // a part of the text
    };
    const Row rows[] = {
        {args({"--help"}), Kind::Help, " [options] [FILE|FOLDER]...\n"},
        {args({"a.psd", "-h"}), Kind::Help, "--version"},
        {args({"--bogus", "--help"}), Kind::Help, "Usage:"},
        {args({"--version"}), Kind::Version, "Halvorine 9.8\n"},
        {args({"--bogus", "a.psd"}), Kind::UsageError,
         "halvorine: Unknown option 'bogus'.\nUsage: halvorine [options]"},
        {args({"-x"}), Kind::UsageError, "Try 'halvorine --help'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
        const StartRequest request = readCommandLine(row.arguments, QStringLiteral("/"));
        EXPECT_EQ(request.kind, row.kind);
        EXPECT_TRUE(request.text.contains(QString::fromUtf8(row.text))) << request.text.toStdString();
        EXPECT_TRUE(request.paths.isEmpty());
    }
    const QString help = readCommandLine(args({"--help"}), QStringLiteral("/")).text;
    EXPECT_FALSE(help.contains(QStringLiteral("print-"))) << "the checking options stay out of the help";
}

TEST(CommandLine, HelpVersionAndWrongOptionsAreSeenBeforeTheWindowSystemTakesItsOptions) {
    EXPECT_TRUE(answersWithoutWindow(args({"-platform", "offscreen", "--version"})));
    EXPECT_TRUE(answersWithoutWindow(args({"-style", "fusion", "-h"})));
    EXPECT_TRUE(answersWithoutWindow(args({"-platform", "offscreen", "--frobnicate"})));
    EXPECT_FALSE(answersWithoutWindow(args({"-platform", "offscreen", "-reverse", "a.psd"})));
    EXPECT_FALSE(answersWithoutWindow(args({"--", "--help"})));
}

} // namespace
} // namespace hv
