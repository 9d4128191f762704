// The command line, the output formats and the exit status, without a process.
#include "find/FindOptions.h"
#include "find/FindRun.h"
#include "find/MatchFormat.h"

#include <gtest/gtest.h>

namespace hv::find {
namespace {

using namespace std::string_literals;

TEST(FindCommandLine, RefusesWhatItCannotRun) {
    const struct {
        std::vector<std::string> args;
        std::string error;
    } rows[] = {
        {{}, "missing TEXT"},
        {{"logo"}, "missing PATH"},
        {{"-x", "logo", "d"}, "unknown option '-x'"},
        {{"--colour", "logo", "d"}, "unknown option '--colour'"},
        {{"--strict=yes", "logo", "d"}, "option '--strict' takes no value"},
        {{"logo", "d", "--format"}, "option '--format' needs a value"},
        {{"logo", "d", "-j"}, "option '-j' needs a value"},
        {{"--format", "xml", "logo", "d"}, "unknown format 'xml' (text, tsv, csv or json)"},
        {{"-j", "0", "logo", "d"}, "-j wants a number of documents from 1 to 256"},
        {{"--jobs=8x", "logo", "d"}, "-j wants a number of documents from 1 to 256"},
        {{"--ext", ".psd", "logo", "d"},
         "--ext wants extensions without the dot, separated by commas (psd,psb), or '*'"},
        {{"--ext", "psd,,psb", "logo", "d"},
         "--ext wants extensions without the dot, separated by commas (psd,psb), or '*'"},
        {{"-l", "--count", "logo", "d"}, "-l and --count cannot be combined"},
        {{"-l", "--format", "json", "logo", "d"}, "-l and --count write paths, not --format json"},
        {{"-0", "--format=csv", "logo", "d"}, "-0 goes with --format text, -l and --count"},
    };
    for (const auto& row : rows) {
        const CommandLine parsed = parseCommandLine(row.args);
        EXPECT_EQ(parsed.action, CommandLine::Action::UsageError) << row.error;
        EXPECT_EQ(parsed.error, row.error);
    }
}

// As HALVORINE_READ_AHEAD for the window: a count above the most is lowered.
TEST(FindCommandLine, JobsAboveTheMostAreLoweredWithAWarning) {
    const CommandLine parsed = parseCommandLine({"-j257", "logo", "d"});
    EXPECT_EQ(parsed.action, CommandLine::Action::Search);
    EXPECT_EQ(parsed.options.jobs, 256u);
    EXPECT_EQ(parsed.warnings, std::vector<std::string>{"-j 257 is more than 256 documents at a time; 256 are read"});
}

TEST(FindCommandLine, DefaultsFollowTheWindow) {
    const CommandLine parsed = parseCommandLine({"logo", "a", "-"});
    ASSERT_EQ(parsed.action, CommandLine::Action::Search);
    const FindOptions& o = parsed.options;
    EXPECT_EQ(o.text, "logo");
    EXPECT_EQ(o.paths, (std::vector<std::string>{"a", "-"}));
    EXPECT_FALSE(o.matchCase);
    EXPECT_FALSE(o.textContent);
    EXPECT_EQ(o.extensions, (std::vector<std::string>{"psd", "psb"}));
    EXPECT_EQ(o.format, OutputFormat::Text);
    EXPECT_EQ(o.report, Report::Matches);
    EXPECT_FALSE(o.nulAfterPath);
    EXPECT_EQ(o.jobs, kDefaultJobs);
    EXPECT_FALSE(o.strict);
    EXPECT_TRUE(o.cache);
}

TEST(FindCommandLine, OptionsGoAnywhereUntilTheDoubleDash) {
    const CommandLine parsed = parseCommandLine(
        {"-cl0", "a", "-j4", "b", "--ext=psd,PSB,*", "--strict", "--text-content", "--", "-c", "--count"});
    ASSERT_EQ(parsed.action, CommandLine::Action::Search) << parsed.error;
    const FindOptions& o = parsed.options;
    EXPECT_EQ(o.text, "a");
    EXPECT_EQ(o.paths, (std::vector<std::string>{"b", "-c", "--count"}));
    EXPECT_TRUE(o.matchCase);
    EXPECT_EQ(o.report, Report::FilesWithMatches);
    EXPECT_TRUE(o.nulAfterPath);
    EXPECT_EQ(o.jobs, 4u);
    EXPECT_EQ(o.extensions, (std::vector<std::string>{"psd", "PSB", "*"}));
    EXPECT_TRUE(o.strict);
    EXPECT_TRUE(o.textContent);

    EXPECT_FALSE(parseCommandLine({"-c", "--ignore-case", "a", "b"}).options.matchCase);
    EXPECT_FALSE(parseCommandLine({"a", "--no-cache", "b"}).options.cache);
    EXPECT_EQ(parseCommandLine({"--jobs", "1", "--format", "json", "a", "b"}).options.jobs, 1u);
    EXPECT_EQ(parseCommandLine({"a", "--help", "--bogus"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).action, CommandLine::Action::Version);
}

TEST(FindExitStatus, LikeGrep) {
    const struct {
        bool matched, failed, strict;
        int status;
    } rows[] = {
        {true, false, false, 0}, {false, false, false, 1}, {true, true, false, 0}, {false, true, false, 2},
        {true, false, true, 0},  {false, false, true, 1},  {true, true, true, 2},  {false, true, true, 2},
    };
    for (const auto& row : rows)
        EXPECT_EQ(exitStatus(row.matched, row.failed, row.strict), row.status)
            << row.matched << row.failed << row.strict;
}

// The command-line test shows each format on ordinary names and an odd path;
// here a text match whose name holds a line feed and an unpaired surrogate.
TEST(FindFormats, ControlCharactersAndUnpairedSurrogatesInEachFormat) {
    const MatchRecord match{"x.psd", 1, u"Ti\ntle\xD800", {}, "text", true};
    const struct {
        OutputFormat format;
        std::string line;
    } rows[] = {
        {OutputFormat::Text, "x.psd\tTi\\ntle\xEF\xBF\xBD\ttext\n"},
        {OutputFormat::Tsv, "x.psd\t1\tTi\\ntle\xEF\xBF\xBD\t\ttext\ttext\n"},
        {OutputFormat::Csv, "x.psd,1,\"Ti\ntle\xEF\xBF\xBD\",,text,text\r\n"},
        {OutputFormat::Json,
         "{\"path\":\"x.psd\",\"index\":1,\"name\":\"Ti\\ntle\xEF\xBF\xBD\",\"group\":[],\"kind\":\"text\","
         "\"match\":\"text\"}\n"},
    };
    for (const auto& row : rows) EXPECT_EQ(formatMatch(row.format, false, match), row.line);
    EXPECT_EQ(formatFileWithMatches(false, "a\nb.psd"), "a\\nb.psd\n");
    EXPECT_EQ(formatCount(false, "a\nb.psd", 12), "a\\nb.psd\t12\n");
    EXPECT_EQ(formatCount(true, "a\nb.psd", 0), "a\nb.psd"s + '\0' + "0\n");
}

TEST(FindFormats, EscapesKeepEveryValueOnOneLineAndJsonValid) {
    EXPECT_EQ(escapeControls("a\x01\x1F\x7F\\b\r"), "a\\x01\\x1F\\x7F\\b\\r");
    // The text format's fields: a TAB and a written "\t" print apart.
    EXPECT_EQ(escapeField("a\tb\\tc\\"), "a\\tb\\\\tc\\\\");
    EXPECT_NE(formatFileWithMatches(false, "a\t.psd"), formatFileWithMatches(false, "a\\t.psd"));
    EXPECT_EQ(jsonString("q\"\\\x01\x7F/"), "\"q\\\"\\\\\\u0001\\u007F/\"");
    // Bytes that are not UTF-8, an encoded surrogate among them, become U+FFFD.
    EXPECT_EQ(jsonString("a\xFF"
                         "b\xED\xA0\x80"
                         "c\xC3"),
              "\"a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
              "c\xEF\xBF\xBD\"");
}

} // namespace
} // namespace hv::find
