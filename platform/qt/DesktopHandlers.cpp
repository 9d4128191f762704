#include "DesktopHandlers.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QMimeDatabase>
#include <QSet>

#include <algorithm>

namespace hv {

namespace {

QStringList pathList(const char* variable, const QString& fallback) {
    QStringList folders;
    for (const QString& folder : qEnvironmentVariable(variable, fallback).split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(folder)) folders.append(folder);
    return folders;
}

QString homeFolder(const char* variable, const QString& underHome) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + underHome;
}

// A MIME type's canonical name, so that an alias matches its type.
QString canonical(const QMimeDatabase& types, const QString& name) {
    const QMimeType type = types.mimeTypeForName(name);
    return type.isValid() ? type.name() : name;
}

// The installed entries by ID; the first folder that holds an ID wins.
struct Installed {
    QMap<QString, DesktopEntry> byId;
    std::vector<QString> inOrder; // folder precedence, then ID
};

Installed installedEntries(const QStringList& applicationFolders) {
    Installed installed;
    QSet<QString> seen;
    for (const QString& folder : applicationFolders) {
        QStringList ids;
        QMap<QString, QString> files;
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString id = QDir(folder).relativeFilePath(file).replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.contains(id)) continue;
            seen.insert(id); // a hidden or broken entry still hides those of later folders
            files.insert(id, file);
        }
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            if (auto entry = DesktopEntry::read(file.value(), file.key())) {
                installed.byId.insert(file.key(), *entry);
                installed.inOrder.push_back(file.key());
            }
        }
    }
    return installed;
}

struct MimeAppsList {
    QString file;
    bool desktopSpecific = false;
};

std::vector<MimeAppsList> mimeAppsLists(const XdgFolders& folders) {
    std::vector<MimeAppsList> lists;
    const auto addFolder = [&](const QString& folder) {
        for (const QString& desktop : folders.desktops)
            lists.push_back({folder + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list"), true});
        lists.push_back({folder + QStringLiteral("/mimeapps.list"), false});
    };
    addFolder(folders.configHome);
    for (const QString& folder : folders.configDirs) addFolder(folder);
    addFolder(folders.dataHome + QStringLiteral("/applications"));
    for (const QString& folder : folders.dataDirs) addFolder(folder + QStringLiteral("/applications"));
    return lists;
}

// The IDs listed for `type` in one group of a mimeapps.list.
QStringList idsFor(const QMimeDatabase& types, const QMap<QString, QString>& group, const QString& type) {
    QStringList ids;
    for (auto key = group.cbegin(); key != group.cend(); ++key)
        if (canonical(types, key.key()) == type) ids += listValue(key.value());
    return ids;
}

} // namespace

XdgFolders XdgFolders::fromEnvironment() {
    XdgFolders folders;
    folders.configHome = homeFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    folders.configDirs = pathList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    folders.dataHome = homeFolder("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    folders.dataDirs = pathList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& name : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.desktops.append(name.toLower());
    return folders;
}

std::vector<DesktopEntry> applicationsFor(const XdgFolders& folders, const QStringList& mimeTypes) {
    QStringList applicationFolders{folders.dataHome + QStringLiteral("/applications")};
    for (const QString& folder : folders.dataDirs) applicationFolders.append(folder + QStringLiteral("/applications"));
    const Installed installed = installedEntries(applicationFolders);
    std::vector<KeyFile> lists;
    const std::vector<MimeAppsList> listFiles = mimeAppsLists(folders);
    for (const MimeAppsList& list : listFiles) lists.push_back(readKeyFile(list.file));

    const QMimeDatabase types;
    std::vector<DesktopEntry> found;
    QSet<QString> taken;
    const auto take = [&](const QString& id, const QSet<QString>& removed) {
        if (taken.contains(id) || removed.contains(id) || !installed.byId.contains(id)) return;
        taken.insert(id);
        found.push_back(installed.byId.value(id));
    };
    for (const QString& name : mimeTypes) {
        const QString type = canonical(types, name);
        QSet<QString> removed;
        for (std::size_t i = 0; i < lists.size(); ++i) {
            const KeyFile& list = lists[i];
            const bool general = !listFiles[i].desktopSpecific;
            for (const QString& id : idsFor(types, list.value(QStringLiteral("Default Applications")), type))
                take(id, removed);
            if (!general) continue;
            for (const QString& id : idsFor(types, list.value(QStringLiteral("Added Associations")), type))
                take(id, removed);
            for (const QString& id : idsFor(types, list.value(QStringLiteral("Removed Associations")), type))
                removed.insert(id);
        }
        for (const QString& id : installed.inOrder) {
            const QStringList& listed = installed.byId.constFind(id)->mimeTypes;
            if (std::any_of(listed.cbegin(), listed.cend(),
                            [&](const QString& each) { return canonical(types, each) == type; }))
                take(id, removed);
        }
    }
    return found;
}

} // namespace hv
