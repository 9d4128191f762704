// The folder walk of halvorine-find over an in-memory file system: the
// scan's order for the wanted extensions, and folders that cannot be listed
// (which a superuser running the tests never meets on disk).
#include "find/Console.h"
#include "find/DocumentWalk.h"
#include "support/TestFileSystems.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace hv::find {
namespace {

void walkTheTree(std::size_t workers) {
    test::FakeFileSystem fs(PathStyle::Posix);
    if (workers > 0) fs.answerOnWorkers(workers);
    fs.addFolder("/top");
    for (const char* file :
         {"/top/a.psd", "/top/B.PSB", "/top/c.txt", "/top/~d.psd", "/top/sub/e.psd", "/top/denied/f.psd"})
        fs.addFile(file);
    fs.addFolder("/top/sub");
    fs.addFolder("/top/denied");
    fs.failListing("/top/denied", listing::PermissionDenied);
    fs.addFolder("/top/closed");
    fs.failListing("/top/closed", listing::PermissionDenied);

    const struct {
        std::vector<std::string> extensions;
        std::vector<std::string> documents;
    } rows[] = {
        {{"psd", "psb"}, {"/top/a.psd", "/top/B.PSB", "/top/sub/e.psd"}},
        {{"txt"}, {"/top/c.txt"}},
        {{"psd", "*"}, {"/top/a.psd", "/top/B.PSB", "/top/c.txt", "/top/sub/e.psd"}},
    };
    for (const auto& row : rows) {
        int errorPipe[2];
        ASSERT_EQ(::pipe2(errorPipe, O_NONBLOCK), 0);
        ProgressLine noProgress(errorPipe[1], false);
        ErrorLog errors(errorPipe[1], noProgress);
        DocumentWalk walk(fs, row.extensions, errors);
        EXPECT_TRUE(walk.isFolder("/top"));
        EXPECT_FALSE(walk.isFolder("/top/a.psd"));
        EXPECT_EQ(walk.documentsIn("/top/"), row.documents);

        char text[200] = {};
        const ssize_t got = ::read(errorPipe[0], text, sizeof text - 1);
        EXPECT_EQ(std::string(text, got > 0 ? static_cast<std::size_t>(got) : 0),
                  "/top/closed: listing failed\n/top/denied: listing failed\n");
        EXPECT_EQ(errors.failures(), 2u);
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
    }
}

// With the scan's questions answered on worker threads, out of order, the
// documents and the failure lines stay the same.
TEST(FindWalk, KeepsTheScanOrderForTheWantedExtensionsAndReportsFoldersThatCannotBeListed) {
    for (const std::size_t workers : {0u, 8u}) {
        SCOPED_TRACE(workers);
        walkTheTree(workers);
    }
}

// A step of the walk that fails names the folder and the statement; a file
// that cannot be added names the file.
TEST(FindWalk, FailedStepsAndFilesGiveOneLineEach) {
    test::FakeFileSystem fs(PathStyle::Posix);
    fs.addFolder("/top");
    fs.addFile("/top/a.psd");
    fs.addFile("/top/gone.psd");
    fs.attributesVanishAfter("/top/gone.psd", 0);
    fs.addFolder("/top/sub");
    fs.addFile("/top/sub/s.psd");
    fs.attributesVanishAfter("/top/sub", 1); // gone when its hidden-system test reads it
    int errorPipe[2];
    ASSERT_EQ(::pipe2(errorPipe, O_NONBLOCK), 0);
    ProgressLine noProgress(errorPipe[1], false);
    ErrorLog errors(errorPipe[1], noProgress);
    EXPECT_EQ(DocumentWalk(fs, {"psd"}, errors).documentsIn("/top"), std::vector<std::string>{"/top/a.psd"});
    char text[200] = {};
    const ssize_t got = ::read(errorPipe[0], text, sizeof text - 1);
    EXPECT_EQ(std::string(text, got > 0 ? static_cast<std::size_t>(got) : 0),
              "/top/sub: Path not found (folder scan, statement 106)\n/top/gone.psd: File not found\n");
    ::close(errorPipe[0]);
    ::close(errorPipe[1]);
}

} // namespace
} // namespace hv::find
