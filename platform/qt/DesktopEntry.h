#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace hv {

// The groups of a desktop entry or mimeapps.list file: group name, then key,
// then the value with its escapes (\s \n \t \r \\) resolved. Localised keys
// ("Name[de]") are kept under their full name; comments and lines outside a
// group are dropped. Empty for a file that cannot be read.
using KeyFile = QMap<QString, QMap<QString, QString>>;
KeyFile readKeyFile(const QString& file);

// A value that is a list: the items between ';', empty ones dropped.
QStringList listValue(const QString& value);

// An installed application, as its desktop entry describes it.
struct DesktopEntry {
    QString id;   // the desktop file ID, e.g. "org.gnome.Nautilus.desktop"
    QString file; // where the entry was read
    QString name;
    QString icon;
    QString exec;
    QStringList mimeTypes;

    // The entry at `file` under the ID `id`: only an application entry that
    // is not hidden, has an Exec line, and whose TryExec (if any) is found.
    static std::optional<DesktopEntry> read(const QString& file, const QString& id);

    // The command that opens the local file `path` with this application, the
    // program first, from its Exec line: arguments split and unquoted, %f %F
    // the path, %u %U its file URL, %i the icon option, %c the name, %k the
    // entry's file, %% a '%', the deprecated codes dropped. An Exec line
    // without a file code gets the path appended. Empty when the line cannot
    // be read (an unclosed quote, no program).
    QStringList commandFor(const QString& path) const;
};

} // namespace hv
