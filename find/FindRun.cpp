#include "FindRun.h"

#include "Console.h"
#include "MatchFormat.h"

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
      readAhead_(options.jobs) {}

int FindRun::run() {
    if (options_.report == Report::Matches) out_.append(formatHeader(options_.format));
    // Documents named one after the other are read ahead together; a
    // folder's documents once the folder has been walked.
    std::vector<std::string> documents;
    bool open = true;
    for (const std::string& path : options_.paths) {
        if (!walk_.isFolder(path)) {
            documents.push_back(path);
            continue;
        }
        open = search(documents);
        documents.clear();
        if (!open) break;
        progress_.show("halvorine-find: walking " + escapeControls(path));
        open = search(walk_.documentsIn(path));
        if (!open) break;
    }
    if (open) search(documents);
    flush();
    progress_.clear();
    // Lost output is never a success, whatever matched.
    if (out_.state() == OutputStream::State::Failed) {
        errors_.failed(std::string("write error: ") + std::strerror(out_.error()));
        return 2;
    }
    return exitStatus(layersFound_ > 0, errors_.failures() > 0, options_.strict);
}

bool FindRun::search(const std::vector<std::string>& paths) {
    if (paths.empty()) return true;
    documentsKnown_ += paths.size();
    readAhead_.announce(paths);
    for (const std::string& path : paths) {
        const psd::ReadResult result = readAhead_.take(path);
        if (result.ok())
            report(path, result.document());
        else
            errors_.failed(path, result.error().message);
        ++documentsRead_;
        if (!flush()) return false;
        progress_.show("halvorine-find: " + std::to_string(documentsRead_) + " of " + std::to_string(documentsKnown_)
                       + " documents read, " + std::to_string(layersFound_) + " matching layers");
    }
    return true;
}

void FindRun::report(const std::string& path, const psd::Document& document) {
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
