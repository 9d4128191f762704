#include "CacheRuns.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace hv::bench {

void readEveryDocument() {
    qputenv("HALVORINE_CACHE", "off");
}

void useLayerCache(const QString& cacheHome) {
    qunsetenv("HALVORINE_CACHE");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome));
}

std::uint64_t folderBytes(const QString& folder) {
    std::uint64_t bytes = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) bytes += static_cast<std::uint64_t>(QFileInfo(it.next()).size());
    return bytes;
}

double statFloor(const QStringList& paths, int inFlight) {
    std::vector<QByteArray> names;
    for (const QString& path : paths) names.push_back(QFile::encodeName(path));
    std::atomic<std::size_t> next{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (int i = 0; i < inFlight; ++i) {
        threads.emplace_back([&] {
            struct stat status {};
            for (std::size_t at = next++; at < names.size(); at = next++) ::stat(names[at].constData(), &status);
        });
    }
    for (std::thread& thread : threads) thread.join();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace hv::bench
