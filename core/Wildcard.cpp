#include "Wildcard.h"

namespace hv {

namespace {

bool sameLetter(QChar a, QChar b) {
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// Greedy match with backtracking to the last "*": each star is revisited at
// most once per name position, so the work is at most name x pattern.
bool matchWhole(const QString& name, QStringView pattern) {
    qsizetype n = 0, p = 0;
    qsizetype starAt = -1, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || sameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*')) ++p;
    return p == pattern.size();
}

} // namespace

bool matchesWildcard(const QString& name, const QString& pattern) {
    if (matchWhole(name, pattern)) return true;
    if (pattern.endsWith(QLatin1String(".*"))) return matchWhole(name, QStringView(pattern).chopped(2));
    return false;
}

} // namespace hv
