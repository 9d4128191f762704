#pragma once

#include "BuildInfo.h"
#include "platform/Failure.h"
#include "platform/MessageBox.h"

#include <QString>

#include <exception>
#include <utility>

namespace hv {

// The text of the error report for a failure at statement `line` of the
// procedure `procedurePath` (tag, build date, module and procedure).
QString errorReportText(const QString& description, const QString& procedurePath, int line);
// The error report box: warning icon, OK only, titled "Application Error".
Message errorReport(const QString& description, const QString& procedurePath, int line);

// The uniform error trap of a handler. The window makes one per handler and
// hands it to the command, which runs each statement under its number; a
// failure shows the error report and the handler goes on with the next
// statement:
//
//     ErrorTrap trap(messages, "Form1", "PushButton7_Click");
//     trap(line::kOpen, [&] { ... });
class ErrorTrap {
public:
    ErrorTrap(MessageBox& messages, const QString& module, const QString& procedure,
              const QString& tag = QString::fromLatin1(kProjectTag));

    // Runs one statement; returns false when it failed (and was reported).
    template <class Statement>
    bool operator()(int line, Statement&& statement) {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (const Failure& failure) {
            report(line, failure.description());
        } catch (const std::exception& error) {
            report(line, QString::fromLocal8Bit(error.what()));
        }
        return false;
    }

    void report(int line, const QString& description);
    const QString& procedurePath() const { return path_; }
    int failures() const { return failures_; }

private:
    MessageBox& messages_;
    QString path_;
    int failures_ = 0;
};

// The list events carry no error trap: a failure in one of them ends that
// event and nothing else.
template <class Event>
void withoutErrorTrap(Event&& event) {
    try {
        std::forward<Event>(event)();
    } catch (const std::exception&) {
    }
}

} // namespace hv
