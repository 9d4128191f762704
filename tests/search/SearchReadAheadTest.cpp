// The search run over a link that reads the documents ahead on worker
// threads: whatever K, the run opens, reports and finds exactly what it does
// when every document is read as it is opened.
#include "SearchRunFixture.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

namespace hv::test {
namespace {

// One run over its own lists and fakes.
struct Scenario : SearchRunFixture {
    using SearchRunFixture::events;
    using SearchRunFixture::files;
    using SearchRunFixture::link;
    using SearchRunFixture::list;
    using SearchRunFixture::notices;
    using SearchRunFixture::reportedLines;
    using SearchRunFixture::rows;
    using SearchRunFixture::run;
    using SearchRunFixture::searchText;
    void TestBody() override {}
};

struct Case {
    const char* name;
    QStringList listed;
    std::function<void(Scenario&)> script; // the documents, and what happens during the run
    QStringList rows;
};

const Case cases[] = {
    {"failures and a path listed twice",
     {"/art/a.psd", "/art/b.psd", "/art/gone.psd", "/art/a.psd", "/art/c.psd", "/art/d.psd"},
     [](Scenario& s) {
         s.link.addDocument("/art/a.psd", {"Logo", "Text"});
         s.link.addDocument("/art/b.psd", {"logo big", "Back"});
         s.link.addDocument("/art/c.psd", {"Logo"});
         s.link.addDocument("/art/d.psd", {"A logo"});
         s.link.failCount = {"/art/c.psd"};
         s.searchText = "logo";
     },
     {"/art/a.psd|Logo", "/art/b.psd|logo big", "/art/a.psd|Logo", "/art/d.psd|A logo"}},
    {"the fourth row removed and one added while the second is searched",
     {"/art/a.psd", "/art/b.psd", "/art/c.psd", "/art/d.psd", "/art/e.psd"},
     [](Scenario& s) {
         for (const char* name : {"a", "b", "c", "d", "e", "late"})
             s.link.addDocument(QStringLiteral("/art/%1.psd").arg(name), {QStringLiteral("Logo %1").arg(name)});
         s.link.onOpen = [&s](const QString& path) {
             if (path != "/art/b.psd") return;
             s.files.removeItem(4);
             s.files.addItem(QStringLiteral("/art/late.psd"));
         };
     },
     {"/art/a.psd|Logo a", "/art/b.psd|Logo b", "/art/c.psd|Logo c", "/art/e.psd|Logo e", "/art/late.psd|Logo late"}},
};

TEST(SearchReadAhead, EveryKOpensReportsAndFindsWhatARunWithoutReadingAheadDoes) {
    for (const Case& c : cases) {
        Scenario sequential;
        c.script(sequential);
        sequential.list(c.listed);
        sequential.run();
        ASSERT_EQ(sequential.rows(), c.rows) << c.name;

        for (const std::size_t readAhead : {1, 2, 3, 8}) {
            Scenario s;
            c.script(s);
            s.list(c.listed);
            s.link.readAhead = readAhead;
            s.run();
            const std::string what = std::string(c.name) + ", K = " + std::to_string(readAhead);
            EXPECT_EQ(s.link.log, sequential.link.log) << what;
            EXPECT_EQ(s.rows(), sequential.rows()) << what;
            EXPECT_EQ(s.reportedLines(), sequential.reportedLines()) << what;
            EXPECT_EQ(s.notices(), sequential.notices()) << what;
            // One read per opening; a row gone before its turn is read at most once.
            const QStringList reads = s.link.reads();
            for (const QString& path : c.listed + QStringList{"/art/late.psd"}) {
                const auto opened = s.link.log.count("open " + path);
                if (opened > 0)
                    EXPECT_EQ(reads.count(path), opened) << what << ": " << path.toStdString();
                else
                    EXPECT_LE(reads.count(path), c.listed.count(path)) << what << ": " << path.toStdString();
            }
        }
    }
}

// The read of the only document finishes only once events have run after
// the run's usual call before the document: the run must let events run
// while it waits, and then goes on as usual.
TEST(SearchReadAhead, EventsRunWhileTheRunWaitsForADocumentStillBeingRead) {
    constexpr auto patience = std::chrono::seconds(60); // against a hang, never a measure of speed
    for (const std::size_t readAhead : {1, 4}) {
        Scenario s;
        s.link.addDocument("/art/slow.psd", {"Logo"});
        s.list({"/art/slow.psd"});
        std::atomic<bool> eventsRan = false, readSawEvents = false;
        s.events.onEvents = [&](int call) {
            if (call >= 2) eventsRan = true;
        };
        s.link.readAhead = readAhead;
        s.link.onRead = [&](const std::string&) {
            const auto giveUp = std::chrono::steady_clock::now() + patience;
            while (!eventsRan && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            readSawEvents = eventsRan.load();
        };
        s.run();

        EXPECT_TRUE(readSawEvents) << "K = " << readAhead;
        EXPECT_EQ(s.link.log,
                  (QStringList{"create", "open /art/slow.psd", "count", "name 1", "name 1", "close", "quit"}));
        EXPECT_EQ(s.rows(), QStringList{"/art/slow.psd|Logo"});
        EXPECT_TRUE(s.reportedLines().empty());
    }
}

} // namespace
} // namespace hv::test
