// The built halvorine-find: on a folder of written documents, every
// format's exact bytes, the exit statuses, a broken document in the middle of
// the walk, text layers and a reader that stops early; over the shared
// reference corpus, the matches its expected layer names give, in both cases.
#include "psd/TestDocuments.h"
#include "search/LayerNameMatch.h"
#include "support/ChildOutput.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace hv::find {
namespace {

using namespace std::string_literals;
using psd::test::ScratchDir;
using psd::testing::PsdWriter;
using test::contents;
using test::Finished;

void writeFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `program` in the folder `cwd` with stdin closed, keeping the exact
// bytes of what it writes.
Finished run(const std::string& program, const std::vector<std::string>& args, const std::string& cwd) {
    const ScratchDir streams;
    const std::string out = streams.file("out"), err = streams.file("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid) return {"", "cannot run " + program, -1};
    return {contents(out), contents(err), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

Finished runFind(const std::vector<std::string>& args, const std::string& cwd) {
    return run(HALVORINE_FIND, args, cwd);
}

const std::string kBrokenLine =
    "./b-broken.psd: not a Photoshop document: the file does not start with the signature '8BPS'\n";
const std::string kOddName = "a,\"b\tc\xC3\xA9.psd"; // a comma, a quote, a tab, an accented letter
const std::string kOddPrinted = "./a,\"b\\tc\xC3\xA9.psd";

// ./a,"b<TAB>cé.psd   Art (group) > Logo, "big"; Background
// ./b-broken.psd      not a document
// ./c.psd             Title (type layer showing "Logo by Studio"); Background
// ./notes.txt, ./~lock.psd   never read unless --ext says so
// ./sub/d.PSB         logo
class FindCli : public ::testing::Test {
protected:
    void SetUp() override {
        PsdWriter odd;
        odd.beginGroup(u"Art");
        odd.layer(u"Logo, \"big\"");
        odd.endGroup();
        odd.layer(u"Background");
        odd.writeFile(root.file(kOddName));

        PsdWriter text;
        psd::testing::Layer& title = text.layer(u"Title");
        title.content = psd::LayerKind::Text;
        title.text = u"Logo by Studio";
        text.layer(u"Background");
        text.writeFile(root.file("c.psd"));

        PsdWriter psb(psd::testing::Format::Psb);
        psb.layer(u"logo");
        std::filesystem::create_directory(root.file("sub"));
        psb.writeFile(root.file("sub/d.PSB"));

        writeFile(root.file("b-broken.psd"), "not a picture\n");
        writeFile(root.file("notes.txt"), "notes\n");
        writeFile(root.file("~lock.psd"), "lock\n");
    }

    Finished find(const std::vector<std::string>& args) const { return runFind(args, root.file(".")); }

    ScratchDir root;
};

TEST_F(FindCli, EachFormatsExactBytesInWalkOrderPastABrokenDocument) {
    const struct {
        std::vector<std::string> args;
        std::string out;
    } rows[] = {
        {{"logo", "."}, kOddPrinted + "\tLogo, \"big\"\n./sub/d.PSB\tlogo\n"},
        {{"-c", "Logo", "."}, kOddPrinted + "\tLogo, \"big\"\n"},
        {{"--text-content", "logo", "."}, kOddPrinted + "\tLogo, \"big\"\n./c.psd\tTitle\ttext\n./sub/d.PSB\tlogo\n"},
        {{"--format", "tsv", "--text-content", "logo", "."},
         "path\tindex\tname\tgroup\tkind\tmatch\n" + kOddPrinted
             + "\t2\tLogo, "
               "\"big\"\tArt\tpixel\tname\n./c.psd\t1\tTitle\t\ttext\ttext\n./sub/d.PSB\t1\tlogo\t\tpixel\tname\n"},
        {{"--format=csv", "--text-content", "logo", "."},
         "path,index,name,group,kind,match\r\n\"./a,\"\"b\tc\xC3\xA9.psd\",2,\"Logo, \"\"big\"\"\",Art,pixel,name\r\n"
         "./c.psd,1,Title,,text,text\r\n./sub/d.PSB,1,logo,,pixel,name\r\n"},
        {{"--format", "json", "--text-content", "logo", "."},
         "{\"path\":\"./a,\\\"b\\tc\xC3\xA9.psd\",\"index\":2,\"name\":\"Logo, \\\"big\\\"\",\"group\":[\"Art\"],"
         "\"kind\":\"pixel\",\"match\":\"name\"}\n"
         "{\"path\":\"./c.psd\",\"index\":1,\"name\":\"Title\",\"group\":[],\"kind\":\"text\",\"match\":\"text\"}\n"
         "{\"path\":\"./sub/"
         "d.PSB\",\"index\":1,\"name\":\"logo\",\"group\":[],\"kind\":\"pixel\",\"match\":\"name\"}\n"},
        {{"-l", "logo", "."}, kOddPrinted + "\n./sub/d.PSB\n"},
        {{"-l0", "logo", "."}, "./" + kOddName + "\0./sub/d.PSB\0"s},
        {{"-0", "logo", "."}, "./" + kOddName + "\0Logo, \"big\"\n./sub/d.PSB\0logo\n"s},
        {{"--count", "logo", "."}, kOddPrinted + "\t1\n./c.psd\t0\n./sub/d.PSB\t1\n"},
        // A folder between documents: its documents take its place.
        {{"-l", "logo", "./" + kOddName, "sub", "./b-broken.psd", "./c.psd", "--text-content"},
         kOddPrinted + "\nsub/d.PSB\n./c.psd\n"},
    };
    for (const auto& row : rows) {
        const Finished result = find(row.args);
        EXPECT_EQ(result.out, row.out) << row.args[0];
        EXPECT_EQ(result.err, kBrokenLine) << row.args[0];
        EXPECT_EQ(result.status, 0) << row.args[0];
    }
}

TEST_F(FindCli, ExitStatusesAndErrorLines) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } rows[] = {
        {{"nothing", "./c.psd", "sub"}, 1, ""},
        {{"nothing", "."}, 2, kBrokenLine},
        {{"--strict", "-l", "logo", "."}, 2, kBrokenLine},
        {{"logo", "missing", "sub"}, 0, "missing: cannot open the file: No such file or directory\n"},
        {{"logo", "missing"}, 2, "missing: cannot open the file: No such file or directory\n"},
        // Every file, as for a dropped folder: the notes are read too.
        {{"--ext", "*", "-l", "logo", "."},
         0,
         kBrokenLine + "./notes.txt: not a Photoshop document: the file does not start with the signature '8BPS'\n"},
        {{"--ext", "txt", "logo", "."},
         2,
         "./notes.txt: not a Photoshop document: the file does not start with the signature '8BPS'\n"},
        {{"--colour", "logo", "."},
         2,
         "halvorine-find: unknown option '--colour'\nTry 'halvorine-find --help' for more information.\n"},
    };
    for (const auto& row : rows) {
        const Finished result = find(row.args);
        EXPECT_EQ(result.status, row.status) << row.args[0];
        EXPECT_EQ(result.err, row.err) << row.args[0];
    }
    EXPECT_EQ(find({"--strict", "-l", "logo", "."}).out, kOddPrinted + "\n./sub/d.PSB\n");
}

// Names that are not UTF-8 are walked and read; printed as \xHH, or as
// they are with -0.
TEST(FindNames, NamesThatAreNotUtf8AreWalkedReadAndPrinted) {
    const ScratchDir root;
    PsdWriter writer;
    writer.layer(u"logo");
    std::filesystem::create_directory(root.file("latin\xE9"));
    writer.writeFile(root.file("caf\xE9.psd"));
    writer.writeFile(root.file("latin\xE9/x.psd"));
    writeFile(root.file("bad\xE9.psd"), "not a picture\n");
    const std::string bad =
        "./bad\\xE9.psd: not a Photoshop document: the file does not start with the signature '8BPS'\n";
    const struct {
        std::vector<std::string> args;
        std::string out;
    } rows[] = {
        {{"-l", "logo", "."}, "./caf\\xE9.psd\n./latin\\xE9/x.psd\n"},
        {{"-l0", "logo", "."}, "./caf\xE9.psd\0./latin\xE9/x.psd\0"s},
        {{"--count", "logo", "./latin\xE9", "./bad\xE9.psd"}, "./latin\\xE9/x.psd\t1\n"},
    };
    for (const auto& row : rows) {
        const Finished result = runFind(row.args, root.file("."));
        EXPECT_EQ(result.out, row.out) << row.args[0];
        EXPECT_EQ(result.err, bad) << row.args[0];
        EXPECT_EQ(result.status, 0) << row.args[0];
    }
}

TEST_F(FindCli, AnOutputThatCannotBeWrittenEndsTheSearchWithAnError) {
    const Finished full = run("bash", {"-c", "\"$0\" -l logo . >/dev/full", HALVORINE_FIND}, root.file("."));
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(full.err, "halvorine-find: write error: No space left on device\n");
    // A stdout closed from the start is a reader that has gone: quiet.
    const Finished closed = run("bash", {"-c", "\"$0\" -l logo . >&-", HALVORINE_FIND}, root.file("."));
    EXPECT_EQ(closed.status, 0);
    EXPECT_EQ(closed.err, kBrokenLine);
}

TEST(FindPipe, AReaderThatStopsEarlyEndsTheSearchQuietly) {
    // Far more lines than a pipe holds, so the search is still writing when
    // head has gone.
    const ScratchDir many;
    for (int d = 0; d < 60; ++d) {
        PsdWriter writer;
        for (int l = 0; l < 40; ++l)
            writer.layer(u"A layer name long enough to fill the pipe quickly, number "
                         + std::u16string(1, static_cast<char16_t>(u'a' + l % 26)));
        writer.writeFile(many.file("doc" + std::to_string(d) + ".psd"));
    }
    const Finished piped =
        run("bash", {"-c", "set -o pipefail; \"$0\" -j 4 '' . 2>err | head -n 1", HALVORINE_FIND}, many.file("."));
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, "./doc0.psd\tA layer name long enough to fill the pipe quickly, number a\n");
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(contents(many.file("err")), "");
}

using Matches = std::map<QString, QStringList>; // path: matching names in layer order

Matches expectedMatches(const QJsonObject& expected, const QString& text, CaseOption option) {
    Matches matches;
    for (auto entry = expected.begin(); entry != expected.end(); ++entry)
        for (const QJsonValue name : entry.value().toObject().value(QStringLiteral("items")).toArray())
            if (LayerNameContains(name.toString(), text, option))
                matches[QStringLiteral("./") + entry.key()].append(name.toString());
    return matches;
}

Matches foundMatches(const std::string& out) {
    Matches matches;
    for (const QByteArray& line : QByteArray::fromStdString(out).split('\n')) {
        if (line.isEmpty()) continue;
        QJsonParseError error{};
        const QJsonObject match = QJsonDocument::fromJson(line, &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        matches[match.value(QStringLiteral("path")).toString()].append(match.value(QStringLiteral("name")).toString());
    }
    return matches;
}

TEST(FindCorpus, MatchesAreWhatTheExpectedNamesGiveInBothCases) {
    QFile index(QStringLiteral(HALVORINE_PSD_CORPUS "/expected.json"));
    if (!index.open(QIODevice::ReadOnly)) GTEST_SKIP() << "the reference corpus is absent: " << HALVORINE_PSD_CORPUS;
    const QJsonObject expected = QJsonDocument::fromJson(index.readAll()).object();
    ASSERT_FALSE(expected.isEmpty());

    for (const char* text : {"layer", "Layer", "GROUP", "copy", "\xD0\xA4\xD0\xBE\xD0\xBD", ""}) {
        for (const bool matchCase : {false, true}) {
            std::vector<std::string> args{"--format", "json", text, "."};
            if (matchCase) args.insert(args.begin(), "-c");
            const Finished result = runFind(args, HALVORINE_PSD_CORPUS);
            const Matches want = expectedMatches(expected, QString::fromUtf8(text),
                                                 matchCase ? CaseOption::MatchCase : CaseOption::IgnoreCase);
            EXPECT_EQ(foundMatches(result.out), want) << text << " match case " << matchCase;
            EXPECT_EQ(result.err, "") << text;
            EXPECT_EQ(result.status, want.empty() ? 1 : 0) << text;
        }
    }
}

} // namespace
} // namespace hv::find
