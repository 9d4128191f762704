#include "FindOptions.h"

#include "psd/ReadAhead.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace hv::find {

namespace {

enum class Id {
    MatchCase,
    IgnoreCase,
    TextContent,
    Ext,
    Format,
    FilesWithMatches,
    Count,
    Null,
    Jobs,
    Strict,
    NoCache,
    Help,
    Version
};

struct KnownOption {
    Id id;
    std::string_view longName;
    char shortName; // 0 when there is none
    bool takesValue;
};

constexpr KnownOption kOptions[] = {
    {Id::MatchCase, "match-case", 'c', false},
    {Id::IgnoreCase, "ignore-case", 'i', false},
    {Id::TextContent, "text-content", 0, false},
    {Id::Ext, "ext", 0, true},
    {Id::Format, "format", 0, true},
    {Id::FilesWithMatches, "files-with-matches", 'l', false},
    {Id::Count, "count", 0, false},
    {Id::Null, "null", '0', false},
    {Id::Jobs, "jobs", 'j', true},
    {Id::Strict, "strict", 0, false},
    {Id::NoCache, "no-cache", 0, false},
    {Id::Help, "help", 0, false},
    {Id::Version, "version", 0, false},
};

const KnownOption* findLong(std::string_view name) {
    for (const KnownOption& known : kOptions)
        if (known.longName == name) return &known;
    return nullptr;
}

const KnownOption* findShort(char name) {
    for (const KnownOption& known : kOptions)
        if (known.shortName != 0 && known.shortName == name) return &known;
    return nullptr;
}

std::optional<OutputFormat> parseFormat(const std::string& text) {
    if (text == "text") return OutputFormat::Text;
    if (text == "tsv") return OutputFormat::Tsv;
    if (text == "csv") return OutputFormat::Csv;
    if (text == "json") return OutputFormat::Json;
    return std::nullopt;
}

// "psd,psb" into its items; nothing when an item is empty or is no plain
// extension (a leading dot would look for "*..psd" and find nothing).
std::optional<std::vector<std::string>> parseExtensions(const std::string& text) {
    std::vector<std::string> items;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        std::string item = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        if (item.empty() || item.front() == '.' || item.find('/') != std::string::npos) return std::nullopt;
        items.push_back(std::move(item));
        if (comma == std::string::npos) return items;
        from = comma + 1;
    }
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : args_(arguments) {}

    CommandLine parse() {
        std::vector<std::string> operands;
        for (; at_ < args_.size() && !done(); ++at_) {
            const std::string& word = args_[at_];
            if (word == "--") {
                operands.insert(operands.end(), args_.begin() + static_cast<std::ptrdiff_t>(at_) + 1, args_.end());
                break;
            }
            if (word.size() > 2 && word.starts_with("--"))
                longOption(word);
            else if (word.size() > 1 && word.front() == '-')
                shortOptions(word);
            else
                operands.push_back(word);
        }
        if (!done()) check(std::move(operands));
        return std::move(result_);
    }

private:
    bool done() const { return result_.action != CommandLine::Action::Search; }

    void fail(std::string message) {
        result_.action = CommandLine::Action::UsageError;
        result_.error = std::move(message);
    }

    void longOption(const std::string& word) {
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const KnownOption* known = findLong(name);
        if (!known) return fail("unknown option '--" + name + "'");
        if (equals != std::string::npos) {
            if (!known->takesValue) return fail("option '--" + name + "' takes no value");
            return set(*known, word.substr(equals + 1));
        }
        if (!known->takesValue) return set(*known, {});
        if (at_ + 1 >= args_.size()) return fail("option '--" + name + "' needs a value");
        set(*known, args_[++at_]);
    }

    // A run of one-letter options; one that takes a value takes the rest of
    // the word, or the next argument.
    void shortOptions(const std::string& word) {
        for (std::size_t i = 1; i < word.size() && !done(); ++i) {
            const KnownOption* known = findShort(word[i]);
            if (!known) return fail(std::string("unknown option '-") + word[i] + "'");
            if (!known->takesValue) {
                set(*known, {});
                continue;
            }
            if (i + 1 < word.size()) return set(*known, word.substr(i + 1));
            if (at_ + 1 >= args_.size()) return fail(std::string("option '-") + word[i] + "' needs a value");
            return set(*known, args_[++at_]);
        }
    }

    void setReport(Report report) {
        FindOptions& o = result_.options;
        if (o.report != Report::Matches && o.report != report) return fail("-l and --count cannot be combined");
        o.report = report;
    }

    void set(const KnownOption& known, const std::string& value) {
        FindOptions& o = result_.options;
        switch (known.id) {
        case Id::MatchCase: o.matchCase = true; break;
        case Id::IgnoreCase: o.matchCase = false; break;
        case Id::TextContent: o.textContent = true; break;
        case Id::Ext:
            if (const auto items = parseExtensions(value))
                o.extensions = *items;
            else
                fail("--ext wants extensions without the dot, separated by commas (psd,psb), or '*'");
            break;
        case Id::Format:
            if (const auto format = parseFormat(value)) {
                o.format = *format;
                formatGiven_ = true;
            } else {
                fail("unknown format '" + value + "' (text, tsv, csv or json)");
            }
            break;
        case Id::FilesWithMatches: setReport(Report::FilesWithMatches); break;
        case Id::Count: setReport(Report::Count); break;
        case Id::Null: o.nulAfterPath = true; break;
        case Id::Jobs:
            if (const psd::ReadsInFlightText jobs = psd::parseReadsInFlight(value, "-j"); jobs.readsInFlight) {
                o.jobs = *jobs.readsInFlight;
                if (!jobs.warning.empty()) result_.warnings.push_back(jobs.warning);
            } else {
                fail("-j wants a number of documents from 1 to " + std::to_string(psd::ReadAhead::maxReadsInFlight));
            }
            break;
        case Id::Strict: o.strict = true; break;
        case Id::NoCache: o.cache = false; break;
        case Id::Help: result_.action = CommandLine::Action::Help; break;
        case Id::Version: result_.action = CommandLine::Action::Version; break;
        }
    }

    void check(std::vector<std::string> operands) {
        FindOptions& o = result_.options;
        if (operands.empty()) return fail("missing TEXT");
        if (operands.size() < 2) return fail("missing PATH");
        if (o.report != Report::Matches && formatGiven_ && o.format != OutputFormat::Text)
            return fail("-l and --count write paths, not --format " + formatName(o.format));
        if (o.nulAfterPath && o.report == Report::Matches && o.format != OutputFormat::Text)
            return fail("-0 goes with --format text, -l and --count");
        o.text = std::move(operands.front());
        o.paths.assign(std::make_move_iterator(operands.begin() + 1), std::make_move_iterator(operands.end()));
    }

    static std::string formatName(OutputFormat format) {
        switch (format) {
        case OutputFormat::Text: return "text";
        case OutputFormat::Tsv: return "tsv";
        case OutputFormat::Csv: return "csv";
        case OutputFormat::Json: return "json";
        }
        return {};
    }

    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
    bool formatGiven_ = false;
    CommandLine result_;
};

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).parse();
}

} // namespace hv::find
