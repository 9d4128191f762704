// The I/O floor to hold the folder scan against: a walk of a whole folder
// tree with N threads, each taking the next folder to list, reading its
// entries and asking each one's attributes (lstat), and queueing the
// sub-folders it finds. No Qt, no file list, no order.
//
//   bench_parallel_walk FOLDER [--threads N]     (N defaults to 32)
//
// Prints: parallel-walk threads N seconds S folders D files F errors E

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

class Walk {
public:
    explicit Walk(std::string top) { pending_.push_back(std::move(top)); }

    void work() {
        for (std::string folder; next(folder);) {
            std::vector<std::string> found;
            long fileCount = 0;
            const bool listed = list(folder, found, fileCount);
            finish(found, fileCount, listed);
        }
    }

    long folders = 0;
    long files = 0;
    long errors = 0;

private:
    bool next(std::string& folder) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !pending_.empty() || active_ == 0; });
        if (pending_.empty()) return false;
        folder = std::move(pending_.front());
        pending_.pop_front();
        ++active_;
        return true;
    }

    void finish(std::vector<std::string>& found, long fileCount, bool listed) {
        std::lock_guard lock(mutex_);
        for (std::string& folder : found) pending_.push_back(std::move(folder));
        ++folders;
        files += fileCount;
        if (!listed) ++errors;
        --active_;
        changed_.notify_all();
    }

    static bool list(const std::string& folder, std::vector<std::string>& found, long& fileCount) {
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) return false;
        const int fd = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            if (S_ISDIR(st.st_mode))
                found.push_back(folder + '/' + entry->d_name);
            else if (S_ISREG(st.st_mode))
                ++fileCount;
        }
        ::closedir(dir);
        return true;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> pending_;
    int active_ = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    std::string top;
    long threads = 32;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
            threads = std::strtol(argv[++i], nullptr, 10);
        else if (top.empty())
            top = argv[i];
        else
            threads = 0;
    }
    if (top.empty() || threads < 1) {
        std::fprintf(stderr, "usage: bench_parallel_walk FOLDER [--threads N]\n");
        return 2;
    }
    Walk walk(top);
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    for (long t = 0; t < threads; ++t) pool.emplace_back([&] { walk.work(); });
    for (std::thread& thread : pool) thread.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("parallel-walk threads %ld seconds %.3f folders %ld files %ld errors %ld\n", threads, seconds,
                walk.folders, walk.files, walk.errors);
    return 0;
}
