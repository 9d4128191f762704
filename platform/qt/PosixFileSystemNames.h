#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace hv {

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
QString pathText(QByteArrayView bytes);
QByteArray pathBytes(const QString& text);

} // namespace hv
