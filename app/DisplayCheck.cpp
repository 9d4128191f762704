#include "DisplayCheck.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace hv {

namespace {

// A message and its context, whose strings are literals of Qt's code and
// outlive the start-up.
struct Held {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};

const char* program = "halvorine";
QtMessageHandler previous = nullptr;
QList<Held>* held = nullptr;

QByteArray variable(const char* name) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QByteArrayLiteral("unset") : value;
}

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (held) held->append({type, context.file, context.line, context.function, context.category, text});
        return;
    }
    std::fprintf(stderr,
                 "%s: cannot open the window: no display could be reached (DISPLAY %s, WAYLAND_DISPLAY %s, "
                 "QT_QPA_PLATFORM %s)\n",
                 program, variable("DISPLAY").constData(), variable("WAYLAND_DISPLAY").constData(),
                 variable("QT_QPA_PLATFORM").constData());
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace

DisplayCheck::DisplayCheck(const char* programName) {
    program = programName;
    held = new QList<Held>;
    previous = qInstallMessageHandler(holdOrEnd);
}

void DisplayCheck::done() {
    if (!held) return;
    qInstallMessageHandler(previous);
    const QList<Held> messages = std::exchange(*held, {});
    delete std::exchange(held, nullptr);
    for (const Held& message : messages) {
        const QMessageLogContext context(message.file, message.line, message.function, message.category);
        qt_message_output(message.type, context, message.text);
    }
}

DisplayCheck::~DisplayCheck() {
    done();
}

} // namespace hv
