#pragma once

#include "psd/ReadAhead.h"

#include <cstddef>
#include <string>
#include <vector>

namespace hv::find {

enum class OutputFormat { Text, Tsv, Csv, Json };

// What is written per document: every matching layer, the path of each
// document with a match, or each read document's number of matches.
enum class Report { Matches, FilesWithMatches, Count };

// Documents read at once when -j is not given: as many as the window reads
// ahead. -j follows the window's rule (psd::parseReadsInFlight).
inline constexpr std::size_t kDefaultJobs = psd::ReadAhead::defaultReadsInFlight;

struct FindOptions {
    std::string text; // UTF-8, as typed
    bool matchCase = false;
    bool textContent = false;
    // Folders are walked for the files named *.EXT, for each EXT.
    std::vector<std::string> extensions{"psd", "psb"};
    OutputFormat format = OutputFormat::Text;
    Report report = Report::Matches;
    bool nulAfterPath = false;
    std::size_t jobs = kDefaultJobs;
    bool strict = false;
    bool cache = true; // --no-cache turns the layer cache off
    std::vector<std::string> paths;
};

struct CommandLine {
    enum class Action { Search, Help, Version, UsageError };
    Action action = Action::Search;
    FindOptions options;
    std::string error;                 // why the command line was refused
    std::vector<std::string> warnings; // values taken otherwise than given
};

// Reads the arguments after the program's name. Options may come before,
// between or after TEXT and the PATHs; "--" ends them.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text of --help and of --version.
std::string helpText();
std::string versionText();

} // namespace hv::find
