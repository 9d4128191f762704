#pragma once

#include "DesktopEntry.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace hv {

// The XDG base folders that say which applications are installed and which
// one opens what.
struct XdgFolders {
    QString configHome;
    QStringList configDirs;
    QString dataHome;
    QStringList dataDirs;
    QStringList desktops; // XDG_CURRENT_DESKTOP's names, lower case

    // From XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME, XDG_DATA_DIRS and
    // XDG_CURRENT_DESKTOP; unset ones default to ~/.config, /etc/xdg,
    // ~/.local/share and /usr/local/share:/usr/share.
    static XdgFolders fromEnvironment();
};

// The installed applications registered for any of `mimeTypes` (a type, then
// the types to fall back on), most preferred first, each once. For each type
// in turn, in the freedesktop desktop's order: every mimeapps.list from
// the most to the least preferred gives its [Default Applications] (also
// from the desktop-specific lists) and then its [Added Associations], except
// the applications a more preferred list's [Removed Associations] names;
// then the desktop entries whose MimeType lists the type, by folder
// precedence and then ID. Aliases of a type count as the type.
std::vector<DesktopEntry> applicationsFor(const XdgFolders& folders, const QStringList& mimeTypes);

} // namespace hv
