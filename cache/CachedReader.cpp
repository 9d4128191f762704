#include "cache/CachedReader.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include <unistd.h>

namespace hv::cache {

psd::ReadAhead::MeteredReader cachedReader(psd::ReadAhead::MeteredReader reader, std::shared_ptr<LayerCache> cache) {
    if (!cache) return reader;
    return [reader = std::move(reader), cache = std::move(cache)](const std::string& path,
                                                                  psd::ReadMeter& meter) -> psd::ReadResult {
        const std::optional<FileStamp> before = FileStamp::of(path);
        if (!before) return reader(path, meter);
        // A stored layer takes a dozen bytes or so and about sixteen times
        // that once made: the read-ahead is told before, as a read tells it.
        const auto charge = [&meter](std::size_t storedBytes) { return meter.charge(storedBytes * 16ULL); };
        if (std::optional<psd::Document> stored = cache->find(path, *before, charge)) return std::move(*stored);
        psd::ReadResult result = reader(path, meter);
        if (result.ok() && FileStamp::of(path) == before) cache->store(path, *before, result.document());
        return result;
    };
}

psd::ReadAhead::Reader cachedReader(psd::ReadAhead::Reader reader, std::shared_ptr<LayerCache> cache) {
    if (!cache) return reader;
    psd::ReadAhead::MeteredReader metered =
        cachedReader([reader = std::move(reader)](const std::string& path, psd::ReadMeter&) { return reader(path); },
                     std::move(cache));
    return [metered = std::move(metered)](const std::string& path) {
        psd::Unmetered unmetered;
        return metered(path, unmetered);
    };
}

std::string userCacheFolder() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/halvorine";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::string(home) + "/.cache/halvorine";
    return {};
}

bool cacheOnByEnvironment() {
    const char* value = std::getenv("HALVORINE_CACHE");
    if (!value) return true;
    constexpr std::array<std::string_view, 4> off{"off", "0", "no", "false"};
    for (std::string_view word : off)
        if (word == value) return false;
    return true;
}

std::shared_ptr<LayerCache> openUserCache(std::function<void(const std::string&)> onWarning) {
    if (!cacheOnByEnvironment()) return nullptr;
    LayerCache::Options options;
    options.folder = userCacheFolder();
    options.onWarning = std::move(onWarning);
    return std::make_shared<LayerCache>(std::move(options));
}

std::shared_ptr<LayerCache> openUserCacheWarningOnStderr(const std::string& program) {
    return openUserCache([program](const std::string& text) {
        const std::string line = program + ": warning: " + text + "\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
    });
}

psd::ReadAhead::MeteredReader withUserCache(psd::ReadAhead::MeteredReader reader, const std::string& program) {
    return cachedReader(std::move(reader), openUserCacheWarningOnStderr(program));
}

} // namespace hv::cache
