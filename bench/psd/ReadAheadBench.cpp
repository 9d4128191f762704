// The read-ahead pool alone over every .psd/.psb under a folder (sorted), once
// per K, the way the search loop uses it: announce the whole list, then for
// each path wait for it in slices of 20 ms and take it. Unreadable documents
// are counted as errors; they never void a run.
//
//   bench_read_ahead FOLDER [--k 1,8,16,32,64] [--budget-mib B] [--text T] [--drop-caches]
//
// One line per K:
//   read-ahead k K seconds S documents N items I matches M errors E
//     bytes_per_doc B requests_per_doc R peak_mb P
// (matches: items whose name contains T, ignoring ASCII case; T defaults to
// "logo"; bytes and requests are what the reader asked of the file system;
// peak_mb is the process's peak so far). --budget-mib sets the read-ahead's
// byte budget. --drop-caches empties the kernel's caches before every K (root).

#include "psd/ReadAhead.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::vector<std::string> findDocuments(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if ((extension == ".psd" || extension == ".psb") && it->is_regular_file(error))
            paths.push_back(it->path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool containsIgnoringCase(const std::u16string& name, const std::u16string& text) {
    if (name.empty()) return false;
    return std::search(name.begin(), name.end(), text.begin(), text.end(),
                       [](char16_t a, char16_t b) { return lower(a) == lower(b); })
           != name.end();
}

void dropCaches() {
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    if (!drop) std::fprintf(stderr, "cannot drop the caches (root needed); the figures are warm\n");
}

struct Figures {
    double seconds = 0;
    long long items = 0;
    long long matches = 0;
    long long errors = 0;
    std::atomic<unsigned long long> bytes{0};
    std::atomic<unsigned long long> requests{0};
};

void run(hv::psd::ReadAheadPolicy policy, const std::vector<std::string>& paths, const std::u16string& text,
         Figures& f) {
    const auto start = std::chrono::steady_clock::now();
    hv::psd::ReadAhead pool(policy, [&f](const std::string& path, hv::psd::ReadMeter& meter) {
        hv::psd::FileReads reads;
        hv::psd::ReadResult result = hv::psd::readLayerItems(path, reads, meter);
        f.bytes += reads.bytes;
        f.requests += reads.requests;
        return result;
    });
    pool.announce(paths);
    for (const std::string& path : paths) {
        while (!pool.waitReady(path, 20ms)) {
        }
        const hv::psd::ReadResult result = pool.take(path);
        if (!result.ok()) {
            ++f.errors;
            continue;
        }
        for (const hv::psd::LayerItem& item : result.document().items) {
            ++f.items;
            if (containsIgnoringCase(item.name, text)) ++f.matches;
        }
    }
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::size_t> parseList(const std::string& text) {
    std::vector<std::size_t> values;
    std::stringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');)
        if (const long value = std::strtol(item.c_str(), nullptr, 10); value > 0)
            values.push_back(static_cast<std::size_t>(value));
    return values;
}

} // namespace

int main(int argc, char* argv[]) {
    std::string folder;
    std::vector<std::size_t> ks = {1, 8, 16, 32, 64};
    std::string text = "logo";
    bool drop = false;
    hv::psd::ReadAheadPolicy policy;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--k" && i + 1 < argc)
            ks = parseList(argv[++i]);
        else if (arg == "--text" && i + 1 < argc)
            text = argv[++i];
        else if (arg == "--budget-mib" && i + 1 < argc)
            policy.byteBudget = std::strtoull(argv[++i], nullptr, 10) * 1024 * 1024;
        else if (arg == "--drop-caches")
            drop = true;
        else if (folder.empty() && !arg.starts_with("--"))
            folder = arg;
        else
            ks.clear(); // an unknown argument: print the usage
    }
    if (folder.empty() || ks.empty()) {
        std::fprintf(stderr, "usage: bench_read_ahead FOLDER [--k 1,8,16,32,64] [--budget-mib B] [--text T] "
                             "[--drop-caches]\n");
        return 2;
    }
    hv::psd::returnLargeBuffersWhenFreed(); // as the window and halvorine-find do
    const std::vector<std::string> paths = findDocuments(folder);
    const std::u16string needle(text.begin(), text.end());
    for (const std::size_t k : ks) {
        if (drop) dropCaches();
        policy.readsInFlight = k;
        Figures f;
        run(policy, paths, needle, f);
        const double documents = static_cast<double>(std::max<std::size_t>(paths.size(), 1));
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        std::printf("read-ahead k %zu seconds %.3f documents %zu items %lld matches %lld errors %lld "
                    "bytes_per_doc %.0f requests_per_doc %.2f peak_mb %.0f\n",
                    k, f.seconds, paths.size(), f.items, f.matches, f.errors, static_cast<double>(f.bytes) / documents,
                    static_cast<double>(f.requests) / documents, static_cast<double>(usage.ru_maxrss) / 1024.0);
        std::fflush(stdout);
    }
    return 0;
}
