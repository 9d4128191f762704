// Reads the layer items of a generated corpus and prints documents per
// second, bytes of file read and read requests per document and peak memory.
//
//   bench_psd_reader [--dir FOLDER] [--small N] [--huge N] [--seconds S] [--keep]
//   bench_psd_reader --corpus FOLDER   the same figures over FOLDER's documents only
//                                      (unreadable ones counted, not fatal)
//   bench_psd_reader --split-only      only the crafted documents below
//
// The corpus: N small documents (PSD and PSB, 8 and 16 bits, 1 to 60 layers
// with groups, a few megabytes of pixel data each) and a few multi-gigabyte
// PSB documents with the same kind of layers. Pixel data is written as
// holes, so the huge files cost no disk space; the reader never looks at it
// anyway. Files are read from the page cache (they were just written).
//
// Then crafted 16-bit documents with many layer records split over many
// 'Lr16' blocks, whose reading time must grow with the file's size only.

#include "psd/LayerReader.h"
#include "psd/testing/PsdWriter.h"

#include <sys/resource.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace hv::psd;
using namespace hv::psd::testing;

namespace {

constexpr std::uint64_t MiB = 1024ull * 1024;
constexpr std::uint64_t GiB = 1024 * MiB;

std::u16string toU16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// A document with `layers` items, some of them in groups.
PsdWriter makeDocument(std::mt19937& random, Format format, std::uint16_t depth, int layers,
                       std::uint64_t bytesPerChannel, std::uint64_t imageBytes) {
    PsdWriter w(format);
    w.depth = depth;
    w.width = 1920;
    w.height = 1080;
    w.imageResourcesBytes = 30000 + random() % 20000; // thumbnails, XMP and the like
    w.imageDataBytes = imageBytes;
    int open = 0;
    for (int i = 0; i < layers; ++i) {
        const auto pick = random() % 10;
        if (pick == 0 && open < 3) {
            w.beginGroup(toU16("Group " + std::to_string(i)), random() % 2 == 0);
            ++open;
        } else if (pick == 1 && open > 0) {
            w.endGroup();
            --open;
        } else {
            Layer& layer = w.layer(toU16("Layer " + std::to_string(i) + " with a longer descriptive name"));
            layer.channelDataBytes = bytesPerChannel;
            layer.maskDataBytes = random() % 3 == 0 ? 20 : 0;
            // Text and effect descriptors make real records a few KB long.
            layer.blocks.push_back(ExtraBlock{"8BIM", "TySh", std::vector<std::byte>(random() % 4000), {}});
        }
    }
    while (open-- > 0) w.endGroup();
    return w;
}

struct Figures {
    std::size_t documents = 0;
    std::uint64_t reads = 0;
    std::uint64_t requests = 0;
    double seconds = 0;
    std::uint64_t bytesRead = 0;
    std::uint64_t maxBytesRead = 0;
    std::uint64_t items = 0;
    std::uint64_t fileBytes = 0;
};

Figures measure(const std::vector<std::string>& files, double minimumSeconds, bool failuresFatal = true) {
    Figures f;
    f.documents = files.size();
    for (const std::string& file : files) f.fileBytes += fs::file_size(file);
    const auto start = std::chrono::steady_clock::now();
    do {
        for (const std::string& file : files) {
            FileReads cost;
            const ReadResult result = readLayerItems(file, cost);
            const std::uint64_t bytes = cost.bytes;
            f.requests += cost.requests;
            if (!result.ok()) {
                std::fprintf(stderr, "%s: %s\n", file.c_str(), result.error().message.c_str());
                if (failuresFatal) std::exit(1);
            }
            f.items += result.document().items.size();
            f.bytesRead += bytes;
            f.maxBytesRead = std::max(f.maxBytesRead, bytes);
            ++f.reads;
        }
        f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (f.seconds < minimumSeconds);
    return f;
}

void print(const char* label, const Figures& f) {
    std::printf("%s: %zu files, %.1f MB average file size, %.1f items per document\n", label, f.documents,
                static_cast<double>(f.fileBytes) / static_cast<double>(f.documents) / 1e6,
                static_cast<double>(f.items) / static_cast<double>(f.reads));
    std::printf("  documents per second:      %.0f (%llu reads in %.2f s)\n", static_cast<double>(f.reads) / f.seconds,
                static_cast<unsigned long long>(f.reads), f.seconds);
    std::printf("  bytes read per document:   %.0f average, %llu at most\n",
                static_cast<double>(f.bytesRead) / static_cast<double>(f.reads),
                static_cast<unsigned long long>(f.maxBytesRead));
    std::printf("  read requests per document: %.2f\n", static_cast<double>(f.requests) / static_cast<double>(f.reads));
}

// `layers` layers without channels in 16-bit blocks of `perBlock` records.
std::string writeSplitDocument(const fs::path& dir, int layers, std::size_t perBlock) {
    PsdWriter w(Format::Psd);
    w.depth = 16;
    w.recordsPerBlock = perBlock;
    for (int i = 0; i < layers; ++i) {
        std::string name = std::to_string(i);
        name.insert(name.begin(), 'L');
        Layer& layer = w.layer(toU16(name));
        layer.channels = 0;
        layer.blendingRangesBytes = 0;
    }
    const std::string path =
        (dir / ("split-" + std::to_string(layers) + "-" + std::to_string(perBlock) + ".psd")).string();
    w.writeFile(path);
    return path;
}

// The best of three reads of one crafted document.
void measureSplit(const std::string& path, const char* label) {
    double best = 1e9;
    std::size_t items = 0;
    FileReads cost;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const ReadResult result = readLayerItems(path, cost);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        items = result.ok() ? result.document().items.size() : 0;
    }
    std::printf("%-38s %.1f MB, %zu items read in %.3f s, %llu requests, %.1f MB read\n", label,
                static_cast<double>(fs::file_size(path)) / 1e6, items, best,
                static_cast<unsigned long long>(cost.requests), static_cast<double>(cost.bytes) / 1e6);
}

// Every .psd and .psb under `folder`, sorted.
std::vector<std::string> documentsUnder(const fs::path& folder) {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (entry.is_regular_file() && (extension == ".psd" || extension == ".psb"))
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace

int main(int argc, char** argv) {
    fs::path dir = fs::temp_directory_path() / ("halvorine-bench-psd-" + std::to_string(::getpid()));
    int smallCount = 2000;
    int hugeCount = 4;
    double seconds = 3;
    bool keep = false;
    std::string corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--dir" && hasValue) {
            dir = argv[++i];
        } else if (arg == "--small" && hasValue) {
            smallCount = std::atoi(argv[++i]);
        } else if (arg == "--huge" && hasValue) {
            hugeCount = std::atoi(argv[++i]);
        } else if (arg == "--seconds" && hasValue) {
            seconds = std::atof(argv[++i]);
        } else if (arg == "--keep") {
            keep = true;
        } else if (arg == "--corpus" && hasValue) {
            corpus = argv[++i];
        } else if (arg == "--split-only") {
            smallCount = hugeCount = 0;
        } else {
            std::fprintf(stderr,
                         "usage: bench_psd_reader [--dir FOLDER] [--small N] [--huge N] [--seconds S] [--keep]\n"
                         "       bench_psd_reader --corpus FOLDER | --split-only\n");
            return 2;
        }
    }
    if (!corpus.empty()) {
        print(corpus.c_str(), measure(documentsUnder(corpus), 0, false));
        return 0;
    }
    fs::create_directories(dir);
    std::mt19937 random(2021);

    std::vector<std::string> small;
    for (int i = 0; i < smallCount; ++i) {
        const Format format = i % 5 == 0 ? Format::Psb : Format::Psd;
        const std::uint16_t depth = i % 7 == 0 ? 16 : 8;
        const int layers = 1 + static_cast<int>(random() % 60);
        const std::string path =
            (dir / ("small-" + std::to_string(i) + (format == Format::Psb ? ".psb" : ".psd"))).string();
        makeDocument(random, format, depth, layers, 20000 + random() % 60000, 3 * MiB).writeFile(path);
        small.push_back(path);
    }
    std::vector<std::string> huge;
    for (int i = 0; i < hugeCount; ++i) {
        const std::uint16_t depth = i % 2 == 0 ? 8 : 16;
        const std::string path = (dir / ("huge-" + std::to_string(i) + ".psb")).string();
        // 30 layers of 4 channels at 40 MB each, plus a 3 GB merged image: about 8 GB.
        makeDocument(random, Format::Psb, depth, 30, 40 * MiB, 3 * GiB).writeFile(path);
        huge.push_back(path);
    }

    std::printf("bench_psd_reader: corpus in %s\n", dir.string().c_str());
    if (!small.empty()) print("small documents", measure(small, seconds));
    if (!huge.empty()) print("huge documents", measure(huge, seconds));
    measureSplit(writeSplitDocument(dir, 7000, 1), "7,000 layers, one per 16-bit block:");
    measureSplit(writeSplitDocument(dir, 40000, 1), "40,000 layers, one per 16-bit block:");
    measureSplit(writeSplitDocument(dir, 1000000, 32767), "1,000,000 layers in 31 16-bit blocks:");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory (ru_maxrss):     %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);

    if (!keep) fs::remove_all(dir);
    return 0;
}
