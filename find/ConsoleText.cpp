#include "find/ConsoleText.h"

namespace hv::console {

namespace {

std::string escaped(std::string_view text, bool backslash) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\t') {
            out += "\\t";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\\' && backslash) {
            out += "\\\\";
        } else if (b < 0x20 || b == 0x7F) {
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string escapeControls(std::string_view text) {
    return escaped(text, false);
}

std::string escapeField(std::string_view text) {
    return escaped(text, true);
}

} // namespace hv::console
