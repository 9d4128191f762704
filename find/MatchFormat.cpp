#include "MatchFormat.h"

#include "psd/Text.h"

#include <QString>

namespace hv::find {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::string tsvField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

// RFC 4180: a field holding a comma, a quote or a line break is quoted, its
// quotes doubled.
std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string groupPath(const MatchRecord& match) {
    std::string out;
    for (const std::u16string_view group : match.groups) {
        if (!out.empty()) out += " / ";
        out += psd::toUtf8(group);
    }
    return out;
}

// path, index, name, group, kind, match
std::vector<std::string> columns(const MatchRecord& match) {
    return {std::string(match.path), std::to_string(match.index), psd::toUtf8(match.name),
            groupPath(match),        std::string(match.kind),     match.inText ? "text" : "name"};
}

std::string joined(const std::vector<std::string>& fields, std::string (*field)(std::string_view), char separator,
                   std::string_view end) {
    std::string out;
    for (const std::string& value : fields) {
        if (!out.empty()) out += separator;
        out += field(value);
    }
    out += end;
    return out;
}

std::string jsonLine(const MatchRecord& match) {
    std::string out = "{\"path\":" + jsonString(match.path) + ",\"index\":" + std::to_string(match.index)
                      + ",\"name\":" + jsonString(psd::toUtf8(match.name)) + ",\"group\":[";
    for (std::size_t i = 0; i < match.groups.size(); ++i) {
        if (i > 0) out += ',';
        out += jsonString(psd::toUtf8(match.groups[i]));
    }
    out += "],\"kind\":" + jsonString(match.kind) + ",\"match\":" + (match.inText ? "\"text\"" : "\"name\"") + "}\n";
    return out;
}

std::string pathThen(bool nulAfterPath, std::string_view path, char separator) {
    std::string out = nulAfterPath ? std::string(path) : escapeField(path);
    out += nulAfterPath ? '\0' : separator;
    return out;
}

} // namespace

std::string formatHeader(OutputFormat format) {
    switch (format) {
    case OutputFormat::Tsv: return "path\tindex\tname\tgroup\tkind\tmatch\n";
    case OutputFormat::Csv: return "path,index,name,group,kind,match\r\n";
    case OutputFormat::Text:
    case OutputFormat::Json: break;
    }
    return {};
}

std::string formatMatch(OutputFormat format, bool nulAfterPath, const MatchRecord& match) {
    switch (format) {
    case OutputFormat::Text:
        return pathThen(nulAfterPath, match.path, '\t') + escapeField(psd::toUtf8(match.name))
               + (match.inText ? "\ttext\n" : "\n");
    case OutputFormat::Tsv: return joined(columns(match), tsvField, '\t', "\n");
    case OutputFormat::Csv: return joined(columns(match), csvField, ',', "\r\n");
    case OutputFormat::Json: return jsonLine(match);
    }
    return {};
}

std::string formatFileWithMatches(bool nulAfterPath, std::string_view path) {
    return pathThen(nulAfterPath, path, '\n');
}

std::string formatCount(bool nulAfterPath, std::string_view path, std::size_t count) {
    return pathThen(nulAfterPath, path, '\t') + std::to_string(count) + "\n";
}

std::string jsonString(std::string_view utf8) {
    // Decoding and encoding again turns every byte that is not UTF-8 (an
    // encoded surrogate among them) into U+FFFD.
    const QByteArray valid = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toUtf8();
    std::string out = "\"";
    for (const char c : valid) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (b < 0x20 || b == 0x7F) {
                out += "\\u00";
                out += kHex[b >> 4];
                out += kHex[b & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace hv::find
