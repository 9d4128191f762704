#pragma once

#include <QString>
#include <QStringList>

namespace hv {

// What the program's arguments ask for:
//
//   halvorine [FILE|FOLDER]...   the window, with those paths in the file list
//   halvorine --help | --version  a text on standard output, no window
//
// Two options are left out of the help on purpose, for scripts that check an
// installation without a display (run them with QT_QPA_PLATFORM=offscreen):
//   --print-file-list         start up as usual, add the paths, print the file
//                             list one row per line and quit without showing
//                             the window (message boxes go to standard error)
//   --print-companion-folder  print the folder the companion files are taken
//                             from and quit
struct StartRequest {
    enum class Kind { Window, Help, Version, UsageError };
    Kind kind = Kind::Window;
    // Absolute, in the order given; a relative path is taken against the
    // current folder. Empty arguments are left out.
    QStringList paths;
    bool printFileList = false;
    bool printCompanionFolder = false;
    // Help or version text for standard output, or the usage message for
    // standard error.
    QString text;
};

// Reads `arguments` (the program name first). The help text names the
// program as `arguments` do, and needs a QCoreApplication.
StartRequest readCommandLine(const QStringList& arguments, const QString& currentFolder);

// True when `arguments` (as given, the window system's own options among
// them) ask for --help or --version or hold a wrong option: those are
// answered before the window system is set up, so that they work without a
// display. Needs no QCoreApplication.
bool answersWithoutWindow(const QStringList& arguments);

// Prints what a request other than Window carries: help and version on
// standard output with exit code 0, a usage error on standard error with 2.
int answerWithoutWindow(const StartRequest& request);

// The program's arguments, each read by pathText() (see platform/PathBytes.h).
QStringList rawArguments(int argc, char* argv[]);

} // namespace hv
