// halvorine-find through the layer cache: a first search, a repeated one,
// two at once on one cache, and one under a file-size limit (the disk fills)
// all write what a search without the cache writes, with one warning line at
// most.
#include "psd/TestDocuments.h"
#include "support/ChildOutput.h"

#include <gtest/gtest.h>

#include <fstream>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hv::cache {
namespace {

namespace fs = std::filesystem;
using psd::test::ScratchDir;
using test::contents;
using test::Finished;

// One halvorine-find, its output kept in files under `streams`.
class Find {
public:
    Find(const std::vector<std::string>& args, const std::vector<std::string>& environment, const std::string& streams,
         rlim_t fileLimit = RLIM_INFINITY)
        : out_(streams + ".out"),
          err_(streams + ".err") {
        std::vector<char*> argv{const_cast<char*>(HALVORINE_FIND)}, envp;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        const int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        pid_ = ::fork();
        if (pid_ == 0) {
            const rlimit limit{fileLimit, fileLimit};
            if (::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(127);
            ::execve(HALVORINE_FIND, argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(out);
        ::close(err);
    }

    Finished wait() {
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) return {};
        return {contents(out_), contents(err_), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }

private:
    std::string out_, err_;
    pid_t pid_ = -1;
};

TEST(CacheCli, EverySearchWritesWhatOneWithoutTheCacheWrites) {
    const ScratchDir scratch;
    const std::string docs = scratch.file("docs");
    fs::create_directory(docs);
    for (int i = 0; i < 300; ++i) {
        psd::testing::PsdWriter writer;
        writer.layer(u"Layer " + psd::test::toU16(std::to_string(i)));
        writer.layer(i % 50 == 0 ? u"logo" : u"back");
        writer.writeFile(docs + "/" + std::to_string(i) + ".psd");
    }
    std::ofstream(docs + "/broken.psd") << "not a picture\n";
    const std::vector<std::string> args{"-j", "16", "logo", docs};
    const auto environment = [&](const std::string& name) {
        return std::vector<std::string>{"XDG_CACHE_HOME=" + scratch.file(name), "HOME=/nonexistent"};
    };
    const Finished expected = Find(args, {"HALVORINE_CACHE=off"}, scratch.file("off")).wait();
    ASSERT_EQ(expected.status, 0) << expected.err;
    EXPECT_EQ(Find({"--no-cache", "logo", docs}, environment("none"), scratch.file("n")).wait().out, expected.out);
    EXPECT_FALSE(fs::exists(scratch.file("none"))) << "--no-cache made a cache";

    const auto check = [&](const Finished& run, const char* what) {
        EXPECT_EQ(run.out, expected.out) << what;
        EXPECT_EQ(run.status, expected.status) << what;
        const bool warned = run.err.size() > expected.err.size() && run.err.starts_with(expected.err);
        if (warned) {
            const std::string extra = run.err.substr(expected.err.size());
            EXPECT_TRUE(extra.starts_with("halvorine-find: warning: layer cache")) << what << ": " << extra;
            EXPECT_EQ(std::count(extra.begin(), extra.end(), '\n'), 1) << what << ": " << extra;
        } else {
            EXPECT_EQ(run.err, expected.err) << what;
        }
    };
    check(Find(args, environment("one"), scratch.file("1")).wait(), "first");
    check(Find(args, environment("one"), scratch.file("2")).wait(), "repeated");
    Find first(args, environment("two"), scratch.file("3")), second(args, environment("two"), scratch.file("4"));
    check(first.wait(), "two at once, the one");
    check(second.wait(), "two at once, the other");
    check(Find(args, environment("two"), scratch.file("5")).wait(), "after two at once");
    check(Find(args, environment("full"), scratch.file("6"), 32 * 1024).wait(), "file-size limit");
    check(Find(args, environment("full"), scratch.file("7"), 32 * 1024).wait(), "file-size limit again");
}

} // namespace
} // namespace hv::cache
