#pragma once

#include "FindOptions.h"
#include "find/ConsoleText.h"
#include "psd/Text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hv::find {

// One matching layer, as the output formats need it.
struct MatchRecord {
    std::string_view path; // the document's path, bytes as given
    std::size_t index = 0; // counted from 1, topmost first, groups included
    std::u16string_view name;
    std::vector<std::u16string_view> groups; // outermost first
    std::string_view kind;                   // "pixel", "text", "group", ...
    bool inText = false;                     // only the text of a type layer matched
};

// The first line of a format: column names for tsv and csv, nothing else.
std::string formatHeader(OutputFormat format);

// The line of one matching layer. `nulAfterPath` (text format only) writes
// the path as it is, followed by a NUL instead of a TAB.
std::string formatMatch(OutputFormat format, bool nulAfterPath, const MatchRecord& match);

// -l: the path of a document with a match.
std::string formatFileWithMatches(bool nulAfterPath, std::string_view path);

// --count: the path and the number of matching layers of a document.
std::string formatCount(bool nulAfterPath, std::string_view path, std::size_t count);

using console::escapeControls;
using console::escapeField;

// A JSON string, quotes included: valid UTF-8 (bytes that are not become
// U+FFFD), control characters escaped.
std::string jsonString(std::string_view utf8);

} // namespace hv::find
