#include "QtDesktop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace hv {

bool QtClipboard::clear() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->clear();
    return true;
}

bool QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setText(text);
    return clipboard->text() == text;
}

bool QtDesktopShell::openUrl(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address));
}

bool QtDesktopShell::openFolder(const QString& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool QtDesktopShell::openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtEventPump::processEvents() {
    constexpr qint64 kIntervalNs = 1'000'000;
    if (sinceLastRun_.isValid() && sinceLastRun_.nsecsElapsed() < kIntervalNs) {
        // What the program posted to itself (a queued close, a deferred call)
        // still runs at once.
        QCoreApplication::sendPostedEvents();
        return;
    }
    QCoreApplication::processEvents();
    sinceLastRun_.restart();
}

void QtAppExit::exitNow() {
    // Whatever loop is running, nothing more of it runs: the process ends here.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace hv
