#pragma once

#include "platform/AppExit.h"
#include "platform/Clipboard.h"
#include "platform/DesktopShell.h"
#include "platform/EventPump.h"

#include <QElapsedTimer>

namespace hv {

class QtClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
};

class QtDesktopShell : public DesktopShell {
public:
    bool openUrl(const QString& address) override;
    bool openFolder(const QString& folder) override;
    bool openDocument(const QString& path) override;
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
};

} // namespace hv
