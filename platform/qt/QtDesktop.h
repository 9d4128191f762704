#pragma once

#include "platform/AppExit.h"
#include "platform/Clipboard.h"
#include "platform/DesktopShell.h"
#include "platform/EventPump.h"
#include "platform/qt/DesktopHandlers.h"

#include <QStringList>
#include <QUrl>

#include <cstdint>
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
// the program posted to itself. The time is read from the system's coarse
// clock where it ticks at least every 4 ms (a read of it costs next to
// nothing, and this is called a million times in a search of a million
// layers); the window system is then polled once a tick.
class QtEventPump : public EventPump {
public:
    QtEventPump();
    void processEvents() override;

protected:
    // Just before and after each poll of the window system: at most about
    // once a millisecond, however often processEvents() is called.
    virtual void aboutToPoll() {}
    virtual void polled() {}

private:
    std::int64_t nowNs() const;

    int clock_;                 // the clock read
    std::int64_t lastRun_ = -1; // when the window system was last polled
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
    // What endProgram() runs first, on its thread: keeping what must
    // outlive the process (the layer cache's last entries). It must bound
    // its own time.
    static void setBeforeEnd(std::function<void()> beforeEnd);
};

} // namespace hv
