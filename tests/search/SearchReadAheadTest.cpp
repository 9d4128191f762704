// The search run over a link that reads the documents ahead on worker
// threads: whatever K, the run opens, reports and finds exactly what it does
// when every document is read as it is opened.
#include "SearchRunFixture.h"

#include <atomic>
#include <chrono>
#include <optional>
#include <ostream>
#include <thread>

namespace hv::test {
namespace {

// A guard against hangs, never a measure of speed.
constexpr auto patience = std::chrono::seconds(60);

const std::vector<std::optional<std::size_t>> readAheads = {std::nullopt, 1, 2, 3, 8};

struct Outcome {
    QStringList log, rows, notices;
    std::vector<int> lines;
    QStringList reads;
    bool operator==(const Outcome& other) const {
        return log == other.log && rows == other.rows && notices == other.notices && lines == other.lines;
    }
};

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << "log " << o.log.join(", ").toStdString() << "; rows " << o.rows.join(", ").toStdString() << "; lines";
    for (int line : o.lines) *out << ' ' << line;
}

// One run over its own lists and fakes, with the link reading ahead or not.
struct Scenario : SearchRunFixture {
    using SearchRunFixture::events;
    using SearchRunFixture::files;
    using SearchRunFixture::link;
    using SearchRunFixture::list;
    using SearchRunFixture::pointer;
    using SearchRunFixture::searchText;
    void TestBody() override {}
    Outcome runWith(std::optional<std::size_t> readAhead) {
        link.readAhead = readAhead;
        run();
        return {link.log, rows(), notices(), reportedLines(), link.reads()};
    }
};

std::string label(std::optional<std::size_t> readAhead) {
    return readAhead ? "K = " + std::to_string(*readAhead) : "without reading ahead";
}

TEST(SearchReadAhead, EveryKOpensReportsAndFindsWhatARunWithoutReadingAheadDoes) {
    const QStringList listed = {"/art/a.psd", "/art/b.psd", "/art/gone.psd", "/art/a.psd", "/art/c.psd", "/art/d.psd"};
    std::optional<Outcome> sequential;
    for (const std::optional<std::size_t>& readAhead : readAheads) {
        Scenario s;
        s.link.addDocument("/art/a.psd", {"Logo", "Text"});
        s.link.addDocument("/art/b.psd", {"logo big", "Back"});
        s.link.addDocument("/art/c.psd", {"Logo"});
        s.link.addDocument("/art/d.psd", {"A logo"});
        s.link.failCount = {"/art/c.psd"};
        s.list(listed);
        s.searchText = "logo";
        const Outcome outcome = s.runWith(readAhead);

        if (!sequential) {
            sequential = outcome;
            EXPECT_EQ(outcome.lines, (std::vector<int>{118, 120}));
            continue;
        }
        EXPECT_EQ(outcome, *sequential) << label(readAhead);
        QStringList reads = outcome.reads, want = listed; // each listed document read once
        reads.sort();
        want.sort();
        EXPECT_EQ(reads, want) << label(readAhead);
    }
}

TEST(SearchReadAhead, RowsRemovedAndAddedDuringTheRunGiveTheRowsOfARunWithoutReadingAhead) {
    std::optional<Outcome> sequential;
    for (const std::optional<std::size_t>& readAhead : readAheads) {
        Scenario s;
        for (const char* name : {"a", "b", "c", "d", "e", "late"})
            s.link.addDocument(QStringLiteral("/art/%1.psd").arg(name), {QStringLiteral("Logo %1").arg(name)});
        s.list({"/art/a.psd", "/art/b.psd", "/art/c.psd", "/art/d.psd", "/art/e.psd"});
        // While b is searched, the fourth row goes and a row comes at the end.
        s.link.onOpen = [&](const QString& path) {
            if (path != "/art/b.psd") return;
            s.files.removeItem(4);
            s.files.addItem(QStringLiteral("/art/late.psd"));
        };
        const Outcome outcome = s.runWith(readAhead);

        if (!sequential) {
            sequential = outcome;
            EXPECT_EQ(outcome.rows, (QStringList{"/art/a.psd|Logo a", "/art/b.psd|Logo b", "/art/c.psd|Logo c",
                                                 "/art/e.psd|Logo e", "/art/late.psd|Logo late"}));
            continue;
        }
        EXPECT_EQ(outcome, *sequential) << label(readAhead);
        for (const char* name : {"a", "b", "c", "e", "late"})
            EXPECT_EQ(outcome.reads.count(QStringLiteral("/art/%1.psd").arg(name)), 1)
                << name << ", " << label(readAhead);
        EXPECT_LE(outcome.reads.count("/art/d.psd"), 1) << label(readAhead);
    }
}

// The read of the only document finishes only once events have run after
// the run's usual call before the document: the run must let events run
// while it waits, and then goes on as usual.
TEST(SearchReadAhead, EventsRunWhileTheRunWaitsForADocumentStillBeingRead) {
    for (const std::size_t readAhead : {std::size_t{1}, std::size_t{4}}) {
        Scenario s;
        s.link.addDocument("/art/slow.psd", {"Logo"});
        s.list({"/art/slow.psd"});
        std::atomic<bool> eventsRan = false, readSawEvents = false;
        s.events.onEvents = [&](int call) {
            if (call >= 2) eventsRan = true;
        };
        s.link.onRead = [&](const std::string&) {
            const auto giveUp = std::chrono::steady_clock::now() + patience;
            while (!eventsRan && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            readSawEvents = eventsRan.load();
        };
        const Outcome outcome = s.runWith(readAhead);

        EXPECT_TRUE(readSawEvents) << "K = " << readAhead;
        EXPECT_EQ(outcome.log,
                  (QStringList{"create", "open /art/slow.psd", "count", "name 1", "name 1", "close", "quit"}));
        EXPECT_EQ(outcome.rows, QStringList{"/art/slow.psd|Logo"});
        EXPECT_TRUE(outcome.lines.empty());
        EXPECT_EQ(s.pointer.current, Pointer::Default);
    }
}

} // namespace
} // namespace hv::test
