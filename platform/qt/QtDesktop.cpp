#include "QtDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <time.h>

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

QtDesktopShell::QtDesktopShell()
    : QtDesktopShell(
        Hands{[](const QUrl& url) { return QDesktopServices::openUrl(url); },
              [](const QStringList& command) { return QProcess::startDetached(command.first(), command.mid(1)); }},
        QString()) {}

QtDesktopShell::QtDesktopShell(Hands hands, QString ownDesktopId, std::optional<XdgFolders> folders)
    : hands_(std::move(hands)),
      ownDesktopId_(std::move(ownDesktopId)),
      folders_(std::move(folders)) {}

bool QtDesktopShell::openUrl(const QString& address) {
    return hands_.openUrl(QUrl(address));
}

bool QtDesktopShell::openFolder(const QString& folder) {
    return openLocal(folder);
}

bool QtDesktopShell::openDocument(const QString& path) {
    return openLocal(path);
}

bool QtDesktopShell::openLocal(const QString& path) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QStringList types{type.name()};
    for (const QString& ancestor : type.allAncestors())
        if (ancestor != QLatin1String("application/octet-stream")) types.append(ancestor);
    const std::vector<DesktopEntry> applications =
        applicationsFor(folders_.value_or(XdgFolders::fromEnvironment()), types);
    const auto self = [this](const DesktopEntry& entry) { return isThisProgram(entry); };
    if (std::none_of(applications.cbegin(), applications.cend(), self))
        return hands_.openUrl(QUrl::fromLocalFile(path));
    for (const DesktopEntry& application : applications) {
        if (self(application)) continue;
        const QStringList command = application.commandFor(path);
        if (!command.isEmpty() && hands_.start(command)) return true;
    }
    return false;
}

bool QtDesktopShell::isThisProgram(const DesktopEntry& entry) const {
    QString ownId = ownDesktopId_;
    if (ownId.isEmpty() && !QGuiApplication::desktopFileName().isEmpty())
        ownId = QGuiApplication::desktopFileName() + QStringLiteral(".desktop");
    if (!ownId.isEmpty() && entry.id == ownId) return true;
    const QStringList command = entry.commandFor(QString());
    if (command.isEmpty()) return false;
    const QString program =
        command.first().contains(QLatin1Char('/')) ? command.first() : QStandardPaths::findExecutable(command.first());
    const QString running = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return !program.isEmpty() && QFileInfo(program).canonicalFilePath() == running;
}

namespace {

int eventPumpClock() {
#ifdef CLOCK_MONOTONIC_COARSE
    timespec tick{};
    if (::clock_getres(CLOCK_MONOTONIC_COARSE, &tick) == 0 && tick.tv_sec == 0 && tick.tv_nsec <= 4'000'000)
        return CLOCK_MONOTONIC_COARSE;
#endif
    return CLOCK_MONOTONIC;
}

} // namespace

QtEventPump::QtEventPump() : clock_(eventPumpClock()) {}

std::int64_t QtEventPump::nowNs() const {
    timespec now{};
    ::clock_gettime(clock_, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

void QtEventPump::processEvents() {
    constexpr std::int64_t kIntervalNs = 1'000'000;
    const std::int64_t now = nowNs();
    if (lastRun_ >= 0 && now - lastRun_ < kIntervalNs) {
        // What the program posted to itself (a queued close, a deferred call)
        // still runs at once.
        QCoreApplication::sendPostedEvents();
        return;
    }
    aboutToPoll();
    QCoreApplication::processEvents();
    lastRun_ = nowNs();
    polled();
}

void QtAppExit::exitNow() {
    // Whatever loop is running, nothing more of it runs: the process ends here.
    endProgram(0);
}

namespace {

std::function<void()>& beforeEndOfProgram() {
    static std::function<void()> beforeEnd;
    return beforeEnd;
}

} // namespace

void QtAppExit::setBeforeEnd(std::function<void()> beforeEnd) {
    beforeEndOfProgram() = std::move(beforeEnd);
}

void QtAppExit::endProgram(int status) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        for (QWidget* widget : QApplication::topLevelWidgets()) widget->hide();
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        for (QWindow* window : QGuiApplication::topLevelWindows()) window->hide();
        QGuiApplication::sync();
    }
    if (const std::function<void()>& beforeEnd = beforeEndOfProgram()) beforeEnd();
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace hv
