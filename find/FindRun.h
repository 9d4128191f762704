#pragma once

#include "DocumentWalk.h"
#include "FindOptions.h"
#include "LayerMatcher.h"
#include "cache/LayerCache.h"
#include "psd/ReadAhead.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace hv::find {

class ErrorLog;
class OutputStream;
class ProgressLine;

// grep's exit status: 0 when a layer matched, 1 when none did, 2 when
// something failed and nothing matched, or with `strict` when anything failed.
int exitStatus(bool matched, bool failed, bool strict);

// One search over the PATHs: reads the documents ahead (-j at a time), walks
// the folders among them, and writes each document's lines as soon as it is
// read, in walk order. Stops early when the output's reader goes away.
class FindRun {
public:
    FindRun(const FindOptions& options, FileSystem& fileSystem, OutputStream& out, ErrorLog& errors,
            ProgressLine& progress);
    int run(); // the exit status

private:
    struct Entry {
        std::string path;
        bool named = false; // a PATH of the command line: walked when it is a folder
    };
    bool search(std::vector<Entry> entries);
    std::vector<Entry> walked(std::vector<Entry> entries, std::size_t at);
    bool write(const std::string& path, const psd::ReadResult& result);
    void report(const std::string& path, const psd::Document& document);
    bool flush();

    const FindOptions& options_;
    OutputStream& out_;
    ErrorLog& errors_;
    ProgressLine& progress_;
    DocumentWalk walk_;
    LayerMatcher matcher_;
    std::shared_ptr<cache::LayerCache> cache_; // none with --no-cache or HALVORINE_CACHE=off
    psd::ReadAhead readAhead_;
    std::size_t documentsKnown_ = 0;
    std::size_t documentsRead_ = 0;
    std::size_t layersFound_ = 0;
};

} // namespace hv::find
