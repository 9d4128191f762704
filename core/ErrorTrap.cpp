#include "ErrorTrap.h"

namespace hv {

QString errorReportText(const QString& description, const QString& procedurePath, int line) {
    return description + QStringLiteral("\r\n") + QStringLiteral("in ") + procedurePath + QLatin1Char(' ')
           + QStringLiteral("at line ") + QString::number(line) + QStringLiteral("\r\r")
           + QStringLiteral("Please email screenshot of this message to ") + supportEmail();
}

Message errorReport(const QString& description, const QString& procedurePath, int line) {
    return Message{errorReportText(description, procedurePath, line), QStringLiteral("Application Error"),
                   MessageButtons::Ok, MessageIcon::Warning};
}

ErrorTrap::ErrorTrap(MessageBox& messages, const QString& module, const QString& procedure, const QString& tag)
    : messages_(messages),
      path_(tag + QString::fromLatin1(kBuildDate) + QLatin1Char('.') + module + QLatin1Char('.') + procedure) {}

void ErrorTrap::report(int line, const QString& description) {
    ++failures_;
    messages_.show(errorReport(description, path_, line));
}

} // namespace hv
