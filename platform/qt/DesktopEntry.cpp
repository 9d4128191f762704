#include "DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace hv {

namespace {

const QString kEntryGroup = QStringLiteral("Desktop Entry");

QString unescapeValue(const QString& raw) {
    QString value;
    value.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != QLatin1Char('\\') || i + 1 == raw.size()) {
            value.append(c);
            continue;
        }
        const QChar next = raw.at(++i);
        switch (next.unicode()) {
        case 's': value.append(QLatin1Char(' ')); break;
        case 'n': value.append(QLatin1Char('\n')); break;
        case 't': value.append(QLatin1Char('\t')); break;
        case 'r': value.append(QLatin1Char('\r')); break;
        case '\\': value.append(QLatin1Char('\\')); break;
        default: value.append(QLatin1Char('\\')).append(next); // kept for the list and Exec readers
        }
    }
    return value;
}

bool isFound(const QString& program) {
    if (program.contains(QLatin1Char('/'))) return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

// The arguments of an Exec line: separated by blanks, each possibly in
// double quotes, inside which \" \` \$ \\ stand for the character.
std::optional<QStringList> splitExec(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false, quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                current.append(exec.at(++i));
            } else {
                current.append(c);
            }
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArgument) arguments.append(std::exchange(current, QString()));
            inArgument = false;
        } else {
            inArgument = true;
            if (c == QLatin1Char('"'))
                quoted = true;
            else
                current.append(c);
        }
    }
    if (quoted) return std::nullopt;
    if (inArgument) arguments.append(current);
    return arguments;
}

} // namespace

KeyFile readKeyFile(const QString& file) {
    KeyFile groups;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return groups;
    QString group;
    for (const QByteArray& rawLine : in.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (group.isEmpty() || equals <= 0) continue;
        const QString key = line.left(equals).trimmed();
        if (!groups[group].contains(key)) groups[group][key] = unescapeValue(line.mid(equals + 1).trimmed());
    }
    return groups;
}

QStringList listValue(const QString& value) {
    QStringList items;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size() && value.at(i + 1) == QLatin1Char(';')) {
            current.append(value.at(++i));
        } else if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty()) items.append(current.trimmed());
            current.clear();
        } else {
            current.append(c);
        }
    }
    if (!current.trimmed().isEmpty()) items.append(current.trimmed());
    return items;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString& file, const QString& id) {
    const KeyFile groups = readKeyFile(file);
    const auto group = groups.constFind(kEntryGroup);
    if (group == groups.cend()) return std::nullopt;
    const QMap<QString, QString>& keys = *group;
    if (keys.value(QStringLiteral("Type")) != QLatin1String("Application")) return std::nullopt;
    if (keys.value(QStringLiteral("Hidden")) == QLatin1String("true")) return std::nullopt;
    const QString tryExec = keys.value(QStringLiteral("TryExec"));
    if (!tryExec.isEmpty() && !isFound(tryExec)) return std::nullopt;
    DesktopEntry entry{id,
                       file,
                       keys.value(QStringLiteral("Name")),
                       keys.value(QStringLiteral("Icon")),
                       keys.value(QStringLiteral("Exec")),
                       listValue(keys.value(QStringLiteral("MimeType")))};
    if (entry.exec.isEmpty()) return std::nullopt;
    return entry;
}

QStringList DesktopEntry::commandFor(const QString& path) const {
    const std::optional<QStringList> split = splitExec(exec);
    if (!split || split->isEmpty() || split->first().startsWith(QLatin1Char('%'))) return {};
    const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    QStringList command;
    bool gaveFile = false;
    for (const QString& argument : *split) {
        if (argument == QLatin1String("%i")) {
            if (!icon.isEmpty()) command << QStringLiteral("--icon") << icon;
            continue;
        }
        QString out;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument.at(i) != QLatin1Char('%') || i + 1 == argument.size()) {
                out.append(argument.at(i));
                continue;
            }
            const char code = argument.at(++i).toLatin1();
            if (code == 'f' || code == 'F') out.append(path);
            if (code == 'u' || code == 'U') out.append(url);
            if (code == 'c') out.append(name);
            if (code == 'k') out.append(file);
            if (code == '%') out.append(QLatin1Char('%'));
            gaveFile = gaveFile || QByteArrayLiteral("fFuU").contains(code);
        }
        if (!out.isEmpty() || argument.isEmpty()) command.append(out);
    }
    if (command.isEmpty() || command.first().isEmpty()) return {};
    if (!gaveFile) command.append(path);
    return command;
}

} // namespace hv
