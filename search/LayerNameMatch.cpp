#include "LayerNameMatch.h"

#include <QStringView>

#include <algorithm>

namespace hv {

namespace {

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Whether ASCII `name` contains ASCII `text`, A-Z and a-z taken as the same.
bool asciiContainsIgnoringCase(QStringView name, QStringView text) {
    const auto same = [](QChar a, QChar b) { return asciiLower(a.unicode()) == asciiLower(b.unicode()); };
    return std::search(name.begin(), name.end(), text.begin(), text.end(), same) != name.end();
}

} // namespace

bool LayerNameContains(QStringView name, QStringView searchText, CaseOption option) {
    if (name.isEmpty()) return false;
    switch (option) {
    case CaseOption::MatchCase: return name.contains(searchText, Qt::CaseSensitive);
    case CaseOption::IgnoreCase:
        // Between ASCII texts, lower-casing and Qt's case folding are the
        // same A-Z to a-z, so they are compared in place.
        if (isAscii(name) && isAscii(searchText)) return asciiContainsIgnoringCase(name, searchText);
        // Full lower-case mapping of both sides, then an exact comparison:
        // Qt::CaseInsensitive folds case instead, which differs for letters
        // such as the dotted capital I.
        return name.toString().toLower().contains(searchText.toString().toLower(), Qt::CaseSensitive);
    case CaseOption::Neither: return false;
    }
    return false;
}

} // namespace hv
