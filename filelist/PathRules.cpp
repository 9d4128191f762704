#include "PathRules.h"

namespace hv {

namespace {

QString collapsePairs(QString text, QChar separator) {
    const QString pair(2, separator);
    return text.replace(pair, QString(separator));
}

} // namespace

QString normalizePath(const QString& path, PathStyle style) {
    const QChar separator = separatorOf(style);
    if (style == PathStyle::Posix) {
        QString result = collapsePairs(path, separator);
        qsizetype run = 0;
        while (run < result.size() && result[run] == separator) ++run;
        if (run > 1) result.remove(0, run - 1);
        return result;
    }
    if (!path.startsWith(separator)) return collapsePairs(path, separator);
    qsizetype run = 0;
    while (run < path.size() && path[run] == separator) ++run;
    return QString(2, separator) + collapsePairs(path.mid(run), separator);
}

bool hasUnsafeCharacters(const QString& name) {
    for (const QChar c : name) {
        const char16_t code = c.unicode();
        if (code < 32 || (code >= 127 && code <= 159) || code == u'?' || code == QChar::ReplacementCharacter)
            return true;
    }
    return false;
}

FolderAndName splitFolderAndName(const QString& path, PathStyle style) {
    const QChar separator = separatorOf(style);
    const qsizetype at = path.lastIndexOf(separator);
    if (at < 0) return {QString(), path};
    QString folder = path.left(at);
    if (folder.isEmpty() || (style == PathStyle::Windows && folder.endsWith(QLatin1Char(':')))) folder += separator;
    return {folder, path.mid(at + 1)};
}

} // namespace hv
