#pragma once

// Just enough JSON for the corpus's expected.json: objects, arrays, strings
// (escapes included, \u as UTF-8 with surrogate pairs), numbers and
// literals. Throws std::runtime_error on malformed text.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace minijson {

struct Value {
    std::string text; // strings, and the spelling of numbers and literals
    std::vector<Value> items;
    std::map<std::string, Value> members;

    const Value& operator[](const std::string& key) const { return members.at(key); }
    double number() const { return std::stod(text); }
};

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    Value value() {
        Value v;
        const char c = next();
        if (c == '{') {
            while (next() != '}') {
                --i_;
                if (!v.members.empty() && next() != ',') fail();
                std::string key = value().text;
                if (next() != ':') fail();
                v.members[key] = value();
            }
        } else if (c == '[') {
            while (next() != ']') {
                --i_;
                if (!v.items.empty() && next() != ',') fail();
                v.items.push_back(value());
            }
        } else if (c == '"') {
            v.text = string();
        } else {
            --i_;
            while (i_ < s_.size()
                   && std::string_view("+-.0123456789eEtruefalsn").find(s_[i_]) != std::string_view::npos)
                v.text.push_back(s_[i_++]);
            if (v.text.empty()) fail();
        }
        return v;
    }

private:
    [[noreturn]] void fail() const { throw std::runtime_error("bad JSON at offset " + std::to_string(i_)); }

    char next() {
        while (i_ < s_.size() && std::string_view(" \t\r\n").find(s_[i_]) != std::string_view::npos) ++i_;
        if (i_ >= s_.size()) fail();
        return s_[i_++];
    }

    unsigned hex4() {
        if (s_.size() - i_ < 4) fail();
        const unsigned v = static_cast<unsigned>(std::stoul(std::string(s_.substr(i_, 4)), nullptr, 16));
        i_ += 4;
        return v;
    }

    std::string string() {
        std::string out;
        for (;;) {
            if (i_ >= s_.size()) fail();
            const char c = s_[i_++];
            if (c == '"') return out;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (i_ >= s_.size()) fail();
            const char e = s_[i_++];
            const std::string_view from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
            if (from.find(e) != std::string_view::npos) {
                out.push_back(to[from.find(e)]);
                continue;
            }
            if (e != 'u') fail();
            char32_t cp = hex4();
            if (cp >= 0xD800 && cp < 0xDC00 && s_.substr(i_, 2) == "\\u") {
                i_ += 2;
                cp = 0x10000 + ((cp - 0xD800) << 10) + (hex4() - 0xDC00);
            }
            const int extra = cp < 0x80 ? 0 : cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
            static constexpr char32_t lead[] = {0, 0xC0, 0xE0, 0xF0};
            out.push_back(static_cast<char>(lead[extra] | (cp >> (6 * extra))));
            for (int k = extra - 1; k >= 0; --k) out.push_back(static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F)));
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

inline Value parse(std::string_view text) {
    return Parser(text).value();
}

} // namespace minijson
