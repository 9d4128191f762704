// The layer cache in front of the reader: a search through it gives exactly
// what reading every document gives, whatever became of the documents, the
// reader version or the cache file; and it reads no unchanged document twice.
#include "cache/CachedReader.h"
#include "cache/DocumentCodec.h"
#include "psd/TestDocuments.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv::cache {
namespace {

namespace fs = std::filesystem;
using psd::test::ScratchDir;
using psd::testing::PsdWriter;

// Everything a search can show of one result.
std::string describe(const psd::ReadResult& result) {
    if (!result.ok()) return "error: " + result.error().message;
    const psd::Document& d = result.document();
    std::string out = std::to_string(d.header.version) + " " + std::to_string(d.header.width) + "x"
                      + std::to_string(d.header.height) + " mode " + std::to_string(d.header.colorMode) + "\n";
    for (const psd::LayerItem& item : d.items) {
        out += std::string(item.name.begin(), item.name.end()) + " " + std::to_string(int(item.kind)) + " "
               + psd::kindName(item.layerKind) + " " + std::to_string(item.depth) + " " + std::to_string(item.visible)
               + " " + std::to_string(item.group) + " " + std::string(item.text.begin(), item.text.end()) + " "
               + item.detailError + "\n";
    }
    return out;
}

std::vector<std::string> uncached(const std::vector<std::string>& paths) {
    std::vector<std::string> rows;
    for (const std::string& path : paths) rows.push_back(describe(psd::readLayerItems(path)));
    return rows;
}

// A document whose layer names all have the length of `name`, so that two
// of them have the same size.
void writeDocument(const std::string& path, const std::u16string& name) {
    PsdWriter writer;
    writer.beginGroup(u"Art");
    writer.layer(name);
    psd::testing::Layer text;
    text.name = u"Title";
    text.content = psd::LayerKind::Text;
    text.text = u"Say " + name + u"\r";
    writer.add(text);
    writer.endGroup();
    writer.layer(u"Back").hidden = true;
    writer.writeFile(path);
}

struct Outcome {
    std::vector<std::string> rows;
    int reads = 0;
};

// The paths through the read-ahead (8 in flight) and the cache.
Outcome search(const std::shared_ptr<LayerCache>& cache, const std::vector<std::string>& paths) {
    auto reads = std::make_shared<std::atomic<int>>(0);
    psd::ReadAhead readAhead(8, cachedReader(
                                    [reads](const std::string& path) {
                                        ++*reads;
                                        return psd::readLayerItems(path);
                                    },
                                    cache));
    readAhead.announce(paths);
    Outcome run;
    for (const std::string& path : paths) run.rows.push_back(describe(readAhead.take(path)));
    run.reads = reads->load();
    if (cache) cache->flush();
    return run;
}

struct Fixture {
    ScratchDir scratch;
    std::string docs = scratch.file("docs");
    std::string folder = scratch.file("cache");
    std::vector<std::string> paths;
    std::vector<std::string> warnings;

    Fixture() {
        fs::create_directory(docs);
        for (const char* name : {"a", "b", "c"}) paths.push_back(docs + "/" + name + ".psd");
        writeDocument(paths[0], u"alpha");
        writeDocument(paths[1], u"bravo");
        writeDocument(paths[2], u"gamma");
    }

    std::shared_ptr<LayerCache> cache(std::uint32_t readerVersion = psd::readerFormatVersion,
                                      std::uint64_t maxBytes = std::uint64_t{512} << 20) {
        LayerCache::Options options{folder, maxBytes, readerVersion,
                                    [this](const std::string& text) { warnings.push_back(text); }};
        return std::make_shared<LayerCache>(std::move(options));
    }
};

void setModified(const std::string& path, const timespec& time) {
    const timespec times[2] = {time, time};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

timespec modifiedOf(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mtim;
}

TEST(LayerCache, AChangedDocumentIsReadAgainAndEveryRunGivesTheReadersRows) {
    const struct {
        const char* change;
        std::function<void(Fixture&)> apply;
        int reads; // documents the second run reads
        std::uint32_t readerVersion = psd::readerFormatVersion;
    } rows[] = {
        {"nothing", [](Fixture&) {}, 0},
        {"rewritten in place, same size and time",
         [](Fixture& f) {
             const timespec time = modifiedOf(f.paths[0]);
             writeDocument(f.paths[0], u"omega");
             setModified(f.paths[0], time);
         },
         1},
        {"replaced by a renamed file of the same size and time",
         [](Fixture& f) {
             writeDocument(f.paths[1] + ".new", u"delta");
             setModified(f.paths[1] + ".new", modifiedOf(f.paths[1]));
             fs::rename(f.paths[1] + ".new", f.paths[1]);
         },
         1},
        {"deleted", [](Fixture& f) { fs::remove(f.paths[2]); }, 1},
        {"folder renamed",
         [](Fixture& f) {
             fs::rename(f.docs, f.docs + "2");
             for (std::string& path : f.paths) path = (fs::path(f.docs + "2") / fs::path(path).filename()).string();
         },
         3},
        {"reader version raised", [](Fixture&) {}, 3, psd::readerFormatVersion + 1},
    };
    for (const auto& row : rows) {
        Fixture f;
        EXPECT_EQ(search(f.cache(), f.paths).reads, 3) << row.change;
        row.apply(f);
        const Outcome again = search(f.cache(row.readerVersion), f.paths);
        EXPECT_EQ(again.rows, uncached(f.paths)) << row.change;
        EXPECT_EQ(again.reads, row.reads) << row.change;
        EXPECT_TRUE(f.warnings.empty()) << row.change << ": " << f.warnings.front();
    }
}

// A stored document is charged to the read-ahead's meter before it is made
// from its stored form, as a read charges its layers; one no longer wanted
// is not made at all.
TEST(LayerCache, AStoredDocumentIsChargedBeforeItIsMade) {
    struct Meter final : psd::ReadMeter {
        bool wanted = true;
        std::uint64_t charged = 0;
        bool charge(std::uint64_t bytes) override {
            charged += bytes;
            return wanted;
        }
    };
    Fixture f;
    const std::shared_ptr<LayerCache> cache = f.cache();
    int reads = 0;
    const psd::ReadAhead::MeteredReader read = cachedReader(
        [&reads](const std::string& path, psd::ReadMeter&) {
            ++reads;
            return psd::readLayerItems(path);
        },
        cache);
    Meter first;
    ASSERT_TRUE(read(f.paths[0], first).ok());
    cache->flush();
    Meter stored;
    EXPECT_EQ(describe(read(f.paths[0], stored)), uncached({f.paths[0]}).front());
    EXPECT_EQ(reads, 1);
    EXPECT_GT(stored.charged, 0U);
    Meter unwanted;
    unwanted.wanted = false;
    read(f.paths[0], unwanted);
    EXPECT_EQ(reads, 2); // not made from the cache: the reader was asked, and gives up itself
}

// What a search stores reaches the database with no flush() by the
// searcher: written by the cache's own thread within a second or so, or by
// the flush a program ends with. A second cache object (another program)
// then finds every document.
TEST(LayerCache, StoresReachTheDatabaseWithoutTheSearcherFlushing) {
    for (const bool endOfProgram : {false, true}) {
        Fixture f;
        const std::shared_ptr<LayerCache> cache = f.cache();
        const psd::ReadAhead::Reader read = cachedReader(psd::ReadAhead::layerReader(), cache);
        for (const std::string& path : f.paths) ASSERT_TRUE(read(path).ok());
        if (endOfProgram) LayerCache::flushBeforeExit(cache, std::chrono::seconds(60));
        const auto found = [&] {
            const std::shared_ptr<LayerCache> other = f.cache();
            for (const std::string& path : f.paths)
                if (!other->find(path, *FileStamp::of(path))) return false;
            return true;
        };
        bool all = found();
        for (int wait = 0; !all && !endOfProgram && wait < 600; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            all = found();
        }
        EXPECT_TRUE(all) << (endOfProgram ? "flushed at the end" : "written by the cache's thread");
        EXPECT_TRUE(f.warnings.empty());
    }
}

// A picture is kept with its document's entry, once, and goes with it.
TEST(LayerCache, APictureIsKeptWithItsDocumentsEntryOnly) {
    const struct {
        const char* state;
        std::function<void(Fixture&)> apply; // after the document and its picture were stored
        std::optional<std::string> found;
    } rows[] = {
        {"unchanged", [](Fixture&) {}, "picture"},
        {"stored again", [](Fixture& f) { writeDocument(f.paths[0], u"omega"); }, std::nullopt},
        {"another picture offered",
         [](Fixture& f) { f.cache()->storePicture(f.paths[0], *FileStamp::of(f.paths[0]), "other"); }, "picture"},
    };
    for (const auto& row : rows) {
        Fixture f;
        f.cache()->storePicture(f.paths[0], *FileStamp::of(f.paths[0]), "early"); // no entry yet: not kept
        search(f.cache(), f.paths);
        const std::shared_ptr<LayerCache> cache = f.cache();
        cache->storePicture(f.paths[0], *FileStamp::of(f.paths[0]), "picture");
        cache->flush();
        row.apply(f);
        search(f.cache(), f.paths);
        EXPECT_EQ(f.cache()->findPicture(f.paths[0], *FileStamp::of(f.paths[0])), row.found) << row.state;
        EXPECT_EQ(f.cache()->findPicture(f.paths[1], *FileStamp::of(f.paths[1])), std::nullopt) << row.state;
        EXPECT_TRUE(f.warnings.empty()) << row.state;
    }
}

// The read-ahead's workers look documents up side by side, each on a
// connection of its own while there are enough of them.
TEST(LayerCache, LookUpsFromManyThreadsAtOnceFindEveryDocument) {
    Fixture f;
    search(f.cache(), f.paths);
    const std::shared_ptr<LayerCache> cache = f.cache();
    const std::vector<std::string> expected = uncached(f.paths);
    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 30; ++i) {
                const std::size_t at = static_cast<std::size_t>(i) % f.paths.size();
                const std::optional<psd::Document> found = cache->find(f.paths[at], *FileStamp::of(f.paths[at]));
                if (!found || describe(*found) != expected[at]) ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(f.warnings.empty());
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// What a second connection holds to lock the database out.
struct Lock {
    sqlite3* db = nullptr;
    ~Lock() { sqlite3_close(db); }
};

TEST(LayerCache, AnUnusableCacheFileLeavesTheRowsAsTheyAreWithOneWarningAtMost) {
    Lock lock;
    const struct {
        const char* state;
        std::function<void(Fixture&)> apply;
        bool rebuilt; // a third run, after the two, reads nothing
    } rows[] = {
        {"random bytes", [](Fixture& f) { writeBytes(f.folder + "/layers.sqlite", randomBytes(8192, 1)); }, true},
        {"damaged pages",
         [](Fixture& f) {
             search(f.cache(), f.paths);
             std::fstream file(f.folder + "/layers.sqlite", std::ios::in | std::ios::out | std::ios::binary);
             file.seekp(100);
             file << randomBytes(4000, 2);
         },
         true},
        {"a file where the folder goes",
         [](Fixture& f) {
             fs::remove(f.folder);
             writeBytes(f.folder, "x");
         },
         false},
        {"read-only folder", [](Fixture& f) { ::chmod(f.folder.c_str(), 0500); }, ::geteuid() == 0},
        {"locked by another program",
         [&lock](Fixture& f) {
             ASSERT_EQ(sqlite3_open((f.folder + "/layers.sqlite").c_str(), &lock.db), SQLITE_OK);
             ASSERT_EQ(sqlite3_exec(lock.db, "PRAGMA locking_mode = EXCLUSIVE; CREATE TABLE t(x)", 0, 0, 0), 0);
         },
         false},
        {"a bound smaller than a document", [](Fixture&) {}, false},
    };
    for (const auto& row : rows) {
        Fixture f;
        fs::create_directory(f.folder);
        row.apply(f);
        const std::uint64_t bound = std::string_view(row.state).starts_with("a bound") ? 100 : 512 << 20;
        for (int run = 0; run < 2; ++run)
            EXPECT_EQ(search(f.cache(psd::readerFormatVersion, bound), f.paths).rows, uncached(f.paths)) << row.state;
        EXPECT_LE(f.warnings.size(), 2u) << row.state; // one per cache object, two runs
        EXPECT_EQ(search(f.cache(), f.paths).reads, row.rebuilt ? 0 : 3) << row.state;
        sqlite3_close(std::exchange(lock.db, nullptr));
        ::chmod(f.folder.c_str(), 0700);
    }
}

TEST(DocumentCodec, KeepsEveryDetailAndRefusesDamagedForms) {
    const ScratchDir scratch;
    writeDocument(scratch.file("d.psd"), u"alpha");
    const psd::ReadResult read = psd::readLayerItems(scratch.file("d.psd"));
    ASSERT_TRUE(read.ok());
    const std::string form = encodeDocument(read.document());
    ASSERT_TRUE(decodeDocument(form));
    EXPECT_EQ(describe(*decodeDocument(form)), describe(read));
    for (std::size_t size = 0; size < form.size(); ++size)
        EXPECT_FALSE(decodeDocument(std::string_view(form).substr(0, size))) << size;
    EXPECT_FALSE(decodeDocument(form + '\0'));
    // Names and texts beyond ASCII, a lone surrogate among them, come back
    // unit for unit.
    psd::Document wide;
    for (const std::u16string name : {u"Ärger", u"日本 logo",
                                      u"a\xD800"
                                      u"b",
                                      u"\x7F\x80\xFFFF"}) {
        psd::LayerItem item;
        item.name = name;
        item.text = name + u"\r";
        wide.items.push_back(item);
    }
    const std::optional<psd::Document> back = decodeDocument(encodeDocument(wide));
    ASSERT_TRUE(back);
    for (std::size_t i = 0; i < wide.items.size(); ++i) {
        EXPECT_EQ(back->items[i].name, wide.items[i].name) << i;
        EXPECT_EQ(back->items[i].text, wide.items[i].text) << i;
    }
    // Any byte changed: a document or nothing, never a fault.
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::string damaged = form;
        damaged[random() % damaged.size()] = static_cast<char>(random());
        if (const auto document = decodeDocument(damaged))
            for (std::size_t item = 0; item < document->items.size(); ++item) document->groupPath(item);
    }
}

} // namespace
} // namespace hv::cache
