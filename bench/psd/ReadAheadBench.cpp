// The read-ahead pool alone over every .psd/.psb under a folder (sorted), once
// per K, the way the search loop uses it: announce the whole list, then for
// each path wait for it in slices of 20 ms and take it. Unreadable documents
// are counted as errors; they never void a run.
//
//   bench_read_ahead FOLDER [--k 1,8,16,32,64] [--text T] [--drop-caches]
//
// One line per K:
//   read-ahead k K seconds S documents N items I matches M errors E
// (matches: items whose name contains T, ignoring ASCII case; T defaults to
// "logo"). --drop-caches empties the kernel's caches before every K (root).

#include "psd/ReadAhead.h"

#include <algorithm>
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
};

Figures run(std::size_t k, const std::vector<std::string>& paths, const std::u16string& text) {
    Figures f;
    const auto start = std::chrono::steady_clock::now();
    hv::psd::ReadAhead pool(k);
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
    return f;
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
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--k" && i + 1 < argc)
            ks = parseList(argv[++i]);
        else if (arg == "--text" && i + 1 < argc)
            text = argv[++i];
        else if (arg == "--drop-caches")
            drop = true;
        else if (folder.empty() && !arg.starts_with("--"))
            folder = arg;
        else
            ks.clear(); // an unknown argument: print the usage
    }
    if (folder.empty() || ks.empty()) {
        std::fprintf(stderr, "usage: bench_read_ahead FOLDER [--k 1,8,16,32,64] [--text T] [--drop-caches]\n");
        return 2;
    }
    const std::vector<std::string> paths = findDocuments(folder);
    const std::u16string needle(text.begin(), text.end());
    for (const std::size_t k : ks) {
        if (drop) dropCaches();
        const Figures f = run(k, paths, needle);
        std::printf("read-ahead k %zu seconds %.3f documents %zu items %lld matches %lld errors %lld\n", k, f.seconds,
                    paths.size(), f.items, f.matches, f.errors);
        std::fflush(stdout);
    }
    return 0;
}
