#pragma once

#include "AppExit.h"
#include "Clipboard.h"
#include "DesktopShell.h"
#include "EventPump.h"

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

class QtEventPump : public EventPump {
public:
    void processEvents() override;
};

class QtAppExit : public AppExit {
public:
    void exitNow() override;
};

} // namespace hv
