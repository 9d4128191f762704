#pragma once

#include <QString>

namespace hv {

class ErrorTrap;
class FolderBrowser;
class FolderScan;
class InputBox;
class SettingsStore;
class WindowPointer;

// "Add All PSD File(s) In Folder": asks for an extension (the last one
// offered) and a folder (browsing from the last one), stores both answers,
// and appends every file of the folder's tree with that extension under the
// hourglass. Cancelling either question ends the command. Each step runs as
// a statement of the caller's error trap.
class AddAllInFolder {
public:
    AddAllInFolder(InputBox& input, FolderBrowser& browser, SettingsStore& settings, FolderScan& scan,
                   WindowPointer& pointer, QString appTitle);

    void run(ErrorTrap& trap);

private:
    QString askExtension(ErrorTrap& trap);
    QString askFolder(ErrorTrap& trap);

    InputBox& input_;
    FolderBrowser& browser_;
    SettingsStore& settings_;
    FolderScan& scan_;
    WindowPointer& pointer_;
    QString appTitle_;
};

} // namespace hv
