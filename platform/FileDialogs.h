#pragma once

#include <QString>
#include <QStringList>

namespace hv {

// The platform's open and save dialogs. Filters are written as the program
// states them: "Description (*.ext)|*.ext|" entries.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Several files may be chosen; none need exist. An empty list is Cancel.
    virtual QStringList openFiles(const QString& title, const QString& filter) = 0;
    // Starts with an empty name and asks no overwrite question. "" is Cancel.
    virtual QString saveFile(const QString& title, const QString& filter) = 0;
};

// Folder browser: returns the chosen folder or "" on Cancel. An empty start
// folder leaves the dialog's default selection.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    virtual QString browse(const QString& prompt, const QString& startFolder) = 0;
};

} // namespace hv
