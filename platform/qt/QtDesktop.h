#pragma once

#include "platform/AppExit.h"
#include "platform/Clipboard.h"
#include "platform/DesktopShell.h"
#include "platform/EventPump.h"
#include "platform/qt/DesktopHandlers.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace hv {

class QtClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
};

// Folders and documents go to the application the desktop chooses for
// their type, never to this program itself: when this program is registered
// for the type (as it is for PSD files, to be offered in "Open With"), the
// shell picks the first other application of the mime-apps order
// (DesktopHandlers.h) and starts it; when there is none, it opens nothing
// and answers false.
class QtDesktopShell : public DesktopShell {
public:
    // How the shell reaches the desktop.
    struct Hands {
        std::function<bool(const QUrl&)> openUrl; // the desktop's own choice
        std::function<bool(const QStringList& command)> start;
    };
    // On the desktop (QDesktopServices, a detached process); this program is
    // the desktop entry named by QGuiApplication::desktopFileName() and the
    // entries whose Exec starts the running executable.
    QtDesktopShell();
    // `folders` replaces the XDG folders of the environment.
    QtDesktopShell(Hands hands, QString ownDesktopId, std::optional<XdgFolders> folders = std::nullopt);

    bool openUrl(const QString& address) override;
    bool openFolder(const QString& folder) override;
    bool openDocument(const QString& path) override;

private:
    bool openLocal(const QString& path);
    bool isThisProgram(const DesktopEntry& entry) const;

    Hands hands_;
    QString ownDesktopId_;
    std::optional<XdgFolders> folders_;
};

// Lets the window's events run. The window system is polled at most once a
// millisecond: a poll costs a system call, and a loop that calls this per
// layer stays just as responsive when the calls in between only deliver what
// the program posted to itself.
class QtEventPump : public EventPump {
public:
    void processEvents() override;

private:
    QElapsedTimer sinceLastRun_;
};

class QtAppExit : public AppExit {
public:
    void exitNow() override;

    // Hides every window, makes the window system take that, flushes the
    // output streams and ends the process with `status` at once: no
    // destructor runs and no thread is waited for. A worker held in an
    // uninterruptible read (a dead share) keeps a process alive, with its
    // connection to the display, until the read times out; its windows are
    // gone from the screen by then.
    [[noreturn]] static void endProgram(int status);
};

} // namespace hv
