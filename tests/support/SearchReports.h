#pragma once

#include "core/ListViewModel.h"
#include "platform/MessageBox.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

namespace hv::test {

// The result rows as "path|name".
inline QStringList resultRows(const ListViewModel& results) {
    QStringList out;
    for (int row = 1; row <= results.itemCount(); ++row)
        out << results.itemText(row, 1) + QLatin1Char('|') + results.itemText(row, 2);
    return out;
}

// Statement numbers of the error reports, in the order shown.
inline std::vector<int> reportedLines(const std::vector<Message>& shown) {
    static const QRegularExpression atLine(QStringLiteral(" at line (\\d+)\r\r"));
    std::vector<int> lines;
    for (const Message& message : shown)
        if (message.title == QStringLiteral("Application Error"))
            lines.push_back(atLine.match(message.text).captured(1).toInt());
    return lines;
}

} // namespace hv::test
