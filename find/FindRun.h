#pragma once

#include "DocumentWalk.h"
#include "FindOptions.h"
#include "LayerMatcher.h"
#include "psd/ReadAhead.h"

#include <cstddef>
#include <string>
#include <vector>

namespace hv::find {

class ErrorLog;
class OutputStream;
class ProgressLine;

// grep's exit status: 0 when a layer matched, 1 when none did, 2 when
// something failed and nothing matched, or with `strict` when anything failed.
int exitStatus(bool matched, bool failed, bool strict);

// One search over the PATHs: walks them in order, reads the documents ahead
// (-j at a time) and writes each document's lines as soon as it is read, in
// walk order. Stops early when the output's reader goes away.
class FindRun {
public:
    FindRun(const FindOptions& options, FileSystem& fileSystem, OutputStream& out, ErrorLog& errors,
            ProgressLine& progress);
    int run(); // the exit status

private:
    bool search(const std::vector<std::string>& paths);
    void report(const std::string& path, const psd::Document& document);
    bool flush();

    const FindOptions& options_;
    OutputStream& out_;
    ErrorLog& errors_;
    ProgressLine& progress_;
    DocumentWalk walk_;
    LayerMatcher matcher_;
    psd::ReadAhead readAhead_;
    std::size_t documentsKnown_ = 0;
    std::size_t documentsRead_ = 0;
    std::size_t layersFound_ = 0;
};

} // namespace hv::find
