#include "FindRun.h"

#include "Console.h"
#include "MatchFormat.h"
#include "cache/CachedReader.h"

#include <cstring>

namespace hv::find {

int exitStatus(bool matched, bool failed, bool strict) {
    if (failed && (strict || !matched)) return 2;
    return matched ? 0 : 1;
}

FindRun::FindRun(const FindOptions& options, FileSystem& fileSystem, OutputStream& out, ErrorLog& errors,
                 ProgressLine& progress)
    : options_(options),
      out_(out),
      errors_(errors),
      progress_(progress),
      walk_(fileSystem, options.extensions, errors),
      matcher_(options.text, options.matchCase, options.textContent),
      cache_(options.cache ? cache::openUserCache() : nullptr),
      readAhead_(psd::ReadAheadPolicy{options.jobs},
                 cache::cachedReader(psd::ReadAhead::meteredLayerReader(), cache_)) {}

int FindRun::run() {
    if (options_.report == Report::Matches) out_.append(formatHeader(options_.format));
    std::vector<Entry> entries;
    for (const std::string& path : options_.paths) entries.push_back({path, true});
    search(std::move(entries));
    flush();
    progress_.clear();
    if (cache_) cache_->flush();
    if (cache_ && !cache_->warning().empty()) errors_.warned(cache_->warning());
    // Lost output is never a success, whatever matched.
    if (out_.state() == OutputStream::State::Failed) {
        errors_.failed(std::string("write error: ") + std::strerror(out_.error()));
        return 2;
    }
    return exitStatus(layersFound_ > 0, errors_.failures() > 0, options_.strict);
}

// Every PATH is read ahead as a document, so that a long list of documents on
// a share waits for no round trip of its own before the reading starts. A
// PATH whose read failed because it is a folder is walked, and its documents
// take its place in the announcement.
bool FindRun::search(std::vector<Entry> entries) {
    std::size_t at = 0;
    while (at < entries.size()) {
        std::vector<std::string> paths;
        for (std::size_t i = at; i < entries.size(); ++i) paths.push_back(entries[i].path);
        documentsKnown_ = documentsRead_ + paths.size();
        readAhead_.announce(std::move(paths));
        for (; at < entries.size(); ++at) {
            const psd::ReadResult result = readAhead_.take(entries[at].path);
            if (!result.ok() && entries[at].named && walk_.isFolder(entries[at].path)) {
                entries = walked(std::move(entries), at);
                at = 0;
                break;
            }
            if (!write(entries[at].path, result)) return false;
        }
    }
    return true;
}

// The documents of the folder entries[at], then the entries after it.
std::vector<FindRun::Entry> FindRun::walked(std::vector<Entry> entries, std::size_t at) {
    progress_.show("halvorine-find: walking " + escapeControls(shownPath(entries[at].path)));
    std::vector<Entry> next;
    for (std::string& document : walk_.documentsIn(entries[at].path)) next.push_back({std::move(document), false});
    next.insert(next.end(), std::make_move_iterator(entries.begin() + static_cast<std::ptrdiff_t>(at) + 1),
                std::make_move_iterator(entries.end()));
    return next;
}

// Writes the lines of one document; false once the output is closed.
bool FindRun::write(const std::string& path, const psd::ReadResult& result) {
    if (result.ok())
        report(path, result.document());
    else
        errors_.failed(shownPath(path), result.error().message);
    ++documentsRead_;
    if (!flush()) return false;
    progress_.show("halvorine-find: " + std::to_string(documentsRead_) + " of " + std::to_string(documentsKnown_)
                   + " documents read, " + std::to_string(layersFound_) + " matching layers");
    return true;
}

void FindRun::report(const std::string& bytes, const psd::Document& document) {
    // The text format, -l and --count escape the path's bytes themselves.
    const bool escapedByFormat =
        options_.nulAfterPath || options_.report != Report::Matches || options_.format == OutputFormat::Text;
    const std::string path = escapedByFormat ? bytes : shownPath(bytes);
    const std::vector<LayerMatch> matches = matcher_.matches(document);
    layersFound_ += matches.size();
    if (options_.report == Report::Count) {
        out_.append(formatCount(options_.nulAfterPath, path, matches.size()));
        return;
    }
    if (options_.report == Report::FilesWithMatches) {
        if (!matches.empty()) out_.append(formatFileWithMatches(options_.nulAfterPath, path));
        return;
    }
    for (const LayerMatch& match : matches) {
        const psd::LayerItem& item = document.items[match.item];
        const std::vector<std::u16string> groups = document.groupPath(match.item);
        MatchRecord record{path, match.item + 1, item.name, {}, psd::kindName(item.layerKind), match.inText};
        record.groups.assign(groups.begin(), groups.end());
        out_.append(formatMatch(options_.format, options_.nulAfterPath, record));
    }
}

// Writes what the last document gave, after taking the progress line away
// (the output may go to the same terminal).
bool FindRun::flush() {
    if (out_.pending()) progress_.clear();
    return out_.flush();
}

} // namespace hv::find
