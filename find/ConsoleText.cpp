#include "find/ConsoleText.h"

namespace hv::console {

namespace {

constexpr char hex[] = "0123456789ABCDEF";

// The length of the UTF-8 character at text[at], or 0 when the bytes there
// are not one (overlong forms, surrogates and values past U+10FFFF
// included).
std::size_t characterAt(std::string_view text, std::size_t at) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = b(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || text.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((b(i) & 0xC0) != 0x80) return 0;
    if (lead == 0xE0 && b(1) < 0xA0) return 0;  // overlong
    if (lead == 0xED && b(1) >= 0xA0) return 0; // a surrogate
    if (lead == 0xF0 && b(1) < 0x90) return 0;  // overlong
    if (lead == 0xF4 && b(1) >= 0x90) return 0; // past U+10FFFF
    return length;
}

struct Escapes {
    bool controls = false;  // TAB, LF and CR as \t, \n, \r, other controls as \xNN
    bool backslash = false; // a backslash doubled
    bool stray = false;     // a byte outside any UTF-8 character as \xNN
};

void appendByte(std::string& out, unsigned char b) {
    out += "\\x";
    out += hex[b >> 4];
    out += hex[b & 0xF];
}

std::string escaped(std::string_view text, Escapes escapes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && escapes.stray) {
            const std::size_t length = characterAt(text, at);
            if (length == 0) {
                appendByte(out, b);
            } else {
                out.append(text.substr(at, length));
                at += length - 1;
            }
        } else if (b == '\\' && escapes.backslash) {
            out += "\\\\";
        } else if ((b < 0x20 || b == 0x7F) && escapes.controls) {
            if (b == '\t') {
                out += "\\t";
            } else if (b == '\n') {
                out += "\\n";
            } else if (b == '\r') {
                out += "\\r";
            } else {
                appendByte(out, b);
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string escapeControls(std::string_view text) {
    return escaped(text, {.controls = true});
}

std::string escapeField(std::string_view text) {
    return escaped(text, {.controls = true, .backslash = true, .stray = true});
}

std::string escapeStrayBytes(std::string_view text) {
    return escaped(text, {.stray = true});
}

} // namespace hv::console
