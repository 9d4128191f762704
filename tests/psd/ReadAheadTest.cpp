// The read-ahead pool with a scripted reader: every read is recorded with
// what the caller was doing when it started, and reads can be held until
// the test lets them go.
#include "psd/ReadAhead.h"
#include "psd/SlowCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include <unistd.h>

using namespace std::chrono_literals;
using hv::psd::ReadAhead;
using hv::psd::ReadResult;

namespace {

// A guard against hangs, never a measure of speed.
constexpr auto patience = 60s;

struct Call {
    std::string path;
    bool asked;       // the caller was asking for this path at the time
    int taken;        // results the caller had taken
    int finished;     // reads finished before this one started
    int alsoInFlight; // other reads running when it started
};

// The scripted reader and what it saw; every member is guarded by `mutex`.
struct Script : std::enable_shared_from_this<Script> {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Call> calls;
    std::string asking;   // the path the caller is asking for
    bool holding = false; // reads wait until this is false
    bool gone = false;    // the pool has let go of the reader: its workers are gone
    int taken = 0, finished = 0, inFlight = 0;
    std::map<std::string, std::uint64_t> charged; // by metered reads
    std::uint64_t outstanding = 0, peak = 0;      // charged and not yet taken

    struct Token {
        std::shared_ptr<Script> script;
        ~Token() {
            script->update([&] { script->gone = true; });
        }
    };
    // Made in place: a temporary Token would say "gone" at once.
    std::shared_ptr<Token> token() { return std::shared_ptr<Token>(new Token{shared_from_this()}); }

    ReadAhead::Reader reader() {
        return [token = token()](const std::string& path) { return token->script->read(path); };
    }
    // Reads that tell the pool of their memory in four steps: 400 bytes for
    // a path starting with "big", else 100.
    ReadAhead::MeteredReader meteredReader() {
        return [token = token()](const std::string& path, hv::psd::ReadMeter& meter) -> ReadResult {
            Script& script = *token->script;
            const std::uint64_t quarter = path.starts_with("big") ? 100 : 25;
            for (int step = 0; step < 4; ++step) {
                if (!meter.charge(quarter)) return hv::psd::ReadError{0, "given up"};
                script.update([&] {
                    script.charged[path] += quarter;
                    script.peak = std::max(script.peak, script.outstanding += quarter);
                });
            }
            return script.read(path);
        };
    }
    ReadResult read(const std::string& path) {
        std::unique_lock lock(mutex);
        calls.push_back({path, path == asking, taken, finished, inFlight++});
        changed.notify_all();
        changed.wait(lock, [&] { return !holding; });
        --inFlight;
        ++finished;
        if (path.starts_with("bad")) return hv::psd::ReadError{7, "cannot read " + path};
        hv::psd::Document document;
        hv::psd::LayerItem item;
        item.name = std::u16string(path.begin(), path.end());
        document.items.push_back(std::move(item));
        return document;
    }
    template <typename F>
    void update(F change) {
        std::lock_guard lock(mutex);
        change();
        changed.notify_all();
    }
    template <typename F>
    void waitFor(F condition) {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, patience, condition));
    }
};

using Paths = std::vector<std::string>;

void expectResultFor(const std::string& path, const ReadResult& result) {
    if (path.starts_with("bad")) {
        ASSERT_FALSE(result.ok()) << path;
        EXPECT_EQ(result.error().message, "cannot read " + path);
    } else {
        ASSERT_TRUE(result.ok()) << path;
        EXPECT_EQ(result.document().names(), std::vector<std::u16string>{std::u16string(path.begin(), path.end())});
    }
}

// Checks the reads made against those that must be made (each once) and
// those that may be made besides (each at most once).
void expectReads(const std::vector<Call>& calls, const Paths& required, const Paths& optional) {
    std::map<std::string, int> must, may;
    for (const std::string& p : required) ++must[p];
    for (const std::string& p : optional) ++may[p];
    for (const Call& call : calls) {
        if (must[call.path] > 0)
            --must[call.path];
        else
            EXPECT_GE(--may[call.path], 0) << "read not expected: " << call.path;
    }
    for (const auto& [path, left] : must) EXPECT_EQ(left, 0) << "never read: " << path;
}

struct Row {
    const char* name;
    std::size_t k;
    bool waitFirst; // waitReady() before each take(), as the window's loop does
    Paths announced;
    Paths asked;            // in the caller's order
    Paths mayRead;          // entries skipped over that may have been read ahead
    Paths reannounced = {}; // announced after the first result was taken
};

TEST(ReadAhead, HandsOutEveryResultInTheCallersOrder) {
    const Paths ten = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"};
    const std::vector<Row> rows = {
        {"order kept", 4, true, ten, ten, {}},
        {"order kept, take alone", 4, false, ten, ten, {}},
        {"order kept, workers woken in batches", 8, true, ten, ten, {}},
        {"K=1 reads only what is asked", 1, true, {"a", "b", "c", "d"}, {"a", "c", "d"}, {}},
        {"K=1 without waiting reads on the spot", 1, false, {"a", "b", "c"}, {"a", "b", "c"}, {}},
        {"skipped entries dropped", 3, true, {"a", "b", "c", "d", "e"}, {"a", "d", "e"}, {"b", "c"}},
        {"path not announced", 2, true, {"a", "b"}, {"a", "x", "b"}, {}},
        {"path not announced, take alone", 2, false, {"a", "b"}, {"a", "x", "b"}, {}},
        {"duplicates", 3, true, {"a", "b", "a", "c", "a"}, {"a", "b", "a", "c", "a"}, {}},
        {"entry already passed", 2, true, {"a", "b", "c"}, {"a", "b", "a", "c"}, {}},
        {"row moved up", 2, true, {"a", "b", "c"}, {"a", "c", "b"}, {"b"}},
        {"failures at their place", 3, true, {"a", "bad1", "c", "bad2"}, {"a", "bad1", "c", "bad2"}, {}},
        {"new announcement", 3, true, {"a", "b", "c"}, {"a", "c", "d"}, {"b", "c"}, {"c", "d"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto script = std::make_shared<Script>();
        {
            ReadAhead pool(row.k, script->reader());
            pool.announce(row.announced);
            for (const std::string& path : row.asked) {
                script->update([&] { script->asking = path; });
                if (row.waitFirst) {
                    ASSERT_TRUE(pool.waitReady(path, patience));
                }
                expectResultFor(path, pool.take(path));
                script->update([&] { ++script->taken; });
                if (!row.reannounced.empty() && &path == &row.asked.front()) pool.announce(row.reannounced);
            }
        }
        script->waitFor([&] { return script->gone; });
        const std::vector<Call>& calls = script->calls;
        expectReads(calls, row.asked, row.mayRead);
        for (const Call& call : calls) {
            EXPECT_LT(call.alsoInFlight, static_cast<int>(row.k)) << call.path;
            if (row.k == 1) {
                EXPECT_TRUE(call.asked) << call.path << " was read before it was asked for";
            }
        }
    }
}

TEST(ReadAhead, ReadsAheadABoundedDistanceAndHoldsFewResults) {
    constexpr std::size_t k = 3;
    Paths paths;
    for (int i = 0; i < 12; ++i) paths.push_back(std::string("p").append(std::to_string(i)));
    auto script = std::make_shared<Script>();
    script->holding = true;
    {
        ReadAhead pool(k, script->reader());
        pool.announce(paths);
        script->waitFor([&] { return script->calls.size() >= k - 1; }); // before anything is asked: K - 1 ahead
        EXPECT_FALSE(pool.waitReady("p0", 0ms));
        script->waitFor([&] { return script->calls.size() >= k; }); // the entry asked for makes K
        script->update([&] { script->holding = false; });
        for (const std::string& path : paths) {
            script->update([&] { script->asking = path; });
            ASSERT_TRUE(pool.waitReady(path, patience));
            expectResultFor(path, pool.take(path));
            script->update([&] { ++script->taken; });
        }
    }
    script->waitFor([&] { return script->gone; });
    const std::vector<Call>& calls = script->calls;
    expectReads(calls, paths, {});
    std::vector<std::string> firstK;
    for (std::size_t i = 0; i < k; ++i) firstK.push_back(calls[i].path);
    std::sort(firstK.begin(), firstK.end());
    EXPECT_EQ(firstK, (Paths{"p0", "p1", "p2"}));
    for (const Call& call : calls) {
        const int entry = std::stoi(call.path.substr(1));
        // The caller counts a result once take() is back, one step late.
        EXPECT_LT(entry - call.taken, static_cast<int>(k)) << call.path << " read too far ahead";
        EXPECT_LE(call.finished - call.taken, static_cast<int>(k) + 1)
            << "too many results held when " << call.path << " started";
    }
}

TEST(ReadAhead, DestructionLeavesBlockedReadsAndStartsNoOther) {
    auto script = std::make_shared<Script>();
    script->holding = true;
    {
        ReadAhead pool(2, script->reader());
        pool.announce({"a", "b", "c", "d"});
        EXPECT_FALSE(pool.waitReady("a", 0ms));
        script->waitFor([&] { return script->calls.size() >= 2; });
    } // returns although both reads are held
    script->update([&] { script->holding = false; });
    script->waitFor([&] { return script->gone; });
    EXPECT_EQ(script->calls.size(), 2u);
}

// Documents larger than the whole budget come between small ones: each is
// still read, the results come in order, and what the pool holds stays
// within the budget but for the document asked for and the one just taken.
TEST(ReadAhead, KeepsToTheByteBudgetWhenDocumentsAreLarge) {
    constexpr std::uint64_t budget = 250, largest = 400;
    const Paths paths = {"a", "big1", "b", "c", "big2", "big3", "d", "e", "f", "big4", "g", "h", "i", "j"};
    auto script = std::make_shared<Script>();
    {
        ReadAhead pool(hv::psd::ReadAheadPolicy{8, budget}, script->meteredReader());
        pool.announce(paths);
        for (const std::string& path : paths) {
            script->update([&] { script->asking = path; });
            ASSERT_TRUE(pool.waitReady(path, patience));
            expectResultFor(path, pool.take(path));
            script->update([&] {
                ++script->taken;
                script->outstanding -= script->charged[path];
            });
        }
    }
    script->waitFor([&] { return script->gone; });
    expectReads(script->calls, paths, {});
    EXPECT_LE(script->peak, budget + 2 * largest);
}

// Keeps the thread busy for `time` without sleeping.
int spinFor(std::chrono::microseconds time) {
    for (const auto end = std::chrono::steady_clock::now() + time; std::chrono::steady_clock::now() < end;) {
    }
    return 0;
}

// Reads that never wait for a disk or a share (they only keep a core busy)
// run about one per core; reads that do let the K run at once.
TEST(ReadAhead, RunsAsManyReadsAsWaitingOnesNeed) {
    constexpr std::size_t k = 16;
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    if (cores + 1 >= k) GTEST_SKIP() << "as many cores as reads in flight";
    for (const bool waiting : {false, true}) {
        struct Counts {
            std::mutex mutex;
            std::size_t inFlight = 0, peak = 0;
        };
        auto counts = std::make_shared<Counts>();
        ReadAhead pool(k, [counts, waiting](const std::string&) {
            {
                const std::lock_guard lock(counts->mutex);
                counts->peak = std::max(counts->peak, ++counts->inFlight);
            }
            // A slow call either way; only the waiting one sleeps.
            hv::psd::timedFileCall([waiting] { return waiting ? ::usleep(2000) : spinFor(300us); });
            const std::lock_guard lock(counts->mutex);
            --counts->inFlight;
            return ReadResult(hv::psd::Document{});
        });
        Paths paths;
        for (int i = 0; i < 300; ++i) paths.push_back(std::string("p").append(std::to_string(i)));
        pool.announce(paths);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            ASSERT_TRUE(pool.take(paths[i]).ok());
            if (i != 50 || waiting) continue;
            // A run starts as if its reads waited; by now they are known not to.
            for (auto end = std::chrono::steady_clock::now() + patience; std::chrono::steady_clock::now() < end;) {
                const std::lock_guard lock(counts->mutex);
                if (counts->inFlight == 0) break;
            }
            const std::lock_guard lock(counts->mutex);
            counts->peak = 0;
        }
        const std::lock_guard lock(counts->mutex);
        if (waiting)
            EXPECT_GT(counts->peak, cores + 1);
        else
            EXPECT_LE(counts->peak, cores + 1); // the read the caller waits for may come on top
    }
}

TEST(WaitProbe, CountsSlowCallsThatSleptOnly) {
    const struct {
        const char* call;
        std::function<int()> run;
        bool waited;
    } rows[] = {
        {"quick", [] { return 0; }, false},
        {"slept 2 ms", [] { return ::usleep(2000); }, true},
        {"busy 2 ms", [] { return spinFor(2ms); }, false},
    };
    for (const auto& row : rows) {
        const hv::psd::WaitProbe probe;
        hv::psd::timedFileCall(row.run);
        // A busy call set aside by the system for a moment has still not slept.
        EXPECT_EQ(probe.waited(), row.waited) << row.call;
    }
}

} // namespace
