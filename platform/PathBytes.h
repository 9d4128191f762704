#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QUrl>

namespace hv {

// The helpers of pathText() and pathBytes() below.
namespace pathbytes {
inline constexpr char16_t kEscapeBase = 0xDC00;

inline bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at bytes[at], with its code point,
// or 0 when the byte there starts none (overlong forms, surrogates and
// values past U+10FFFF are not valid).
inline int sequenceAt(QByteArrayView bytes, qsizetype at, char32_t& code) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    int length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) return 0;
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[at + i]);
        if (!isContinuation(b)) return 0;
        code = (code << 6) | (b & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

inline void appendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

inline bool isEscape(char16_t unit) {
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

} // namespace pathbytes

// File names as the disk holds them (bytes, UTF-8 by convention but not by
// rule) and as text. Every path that goes between the disk and a QString
// goes through these two, so that a name that is not valid UTF-8 still
// leads back to its entry.
//
// Each byte that is not part of a valid UTF-8 sequence becomes the lone
// surrogate U+DC00 + byte (U+DC80..U+DCFF), as Python's "surrogateescape"
// does; the rest is decoded as UTF-8. pathBytes() turns those surrogates back
// into their bytes, so pathBytes(pathText(b)) == b for any bytes b. A lone
// surrogate outside that range (never made by pathText()) is written as
// U+FFFD.
inline QString pathText(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = pathbytes::sequenceAt(bytes, at, code);
        if (length == 0) {
            text += QChar(static_cast<char16_t>(pathbytes::kEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        if (code >= 0x10000) {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        } else {
            text += QChar(static_cast<char16_t>(code));
        }
        at += length;
    }
    return text;
}

// The bytes of a path that pathText() made (or of any text).
inline QByteArray pathBytes(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            pathbytes::appendUtf8(out, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (pathbytes::isEscape(unit)) {
            out += static_cast<char>(unit - pathbytes::kEscapeBase);
        } else if (QChar::isSurrogate(unit)) {
            pathbytes::appendUtf8(out, 0xFFFD);
        } else {
            pathbytes::appendUtf8(out, unit);
        }
    }
    return out;
}

// A file URL for the path `path` that keeps every byte of it, and the path of
// such a URL (any local file URL): QUrl::fromLocalFile() and toLocalFile()
// would turn the bytes that are not UTF-8 into U+FFFD.
inline QUrl fileUrlOf(const QString& path) {
    if (!path.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(path);
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    url.setPath(QString::fromLatin1(pathBytes(path).toPercentEncoding("/")), QUrl::TolerantMode);
    return url;
}
inline QString filePathOf(const QUrl& url) {
    if (!url.isLocalFile() || !url.host().isEmpty()) return url.toLocalFile();
    return pathText(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace hv
