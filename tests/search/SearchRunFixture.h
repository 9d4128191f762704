#pragma once

#include "ScriptedLink.h"
#include "support/Fakes.h"

#include "widgets/ListView.h"
#include "search/SearchRun.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace hv::test {

// A search run over two bare lists, a scripted link and recording fakes.
class SearchRunFixture : public ::testing::Test {
protected:
    SearchRunFixture() {
        files.addColumn(QStringLiteral("Photoshop File(s)"));
        results.addColumn(QStringLiteral("File"));
        results.addColumn(QStringLiteral("Layer Name"));
    }

    void list(const QStringList& paths) {
        for (const QString& path : paths) files.addItem(path);
    }

    void run() {
        SearchRun search(
            messages, link, events,
            SearchWindow{files, results, progress, pointer, [this] { return searchText; }, [this] { return option; }});
        search.run();
    }

    // The result rows as "path|name".
    QStringList rows() const {
        QStringList out;
        for (int row = 1; row <= results.itemCount(); ++row)
            out << results.itemText(row, 1) + QLatin1Char('|') + results.itemText(row, 2);
        return out;
    }

    // Statement numbers of the error reports, in the order shown.
    std::vector<int> reportedLines() const {
        static const QRegularExpression atLine(QStringLiteral(" at line (\\d+)\r\r"));
        std::vector<int> lines;
        for (const Message& message : messages.shown) {
            if (message.title != QStringLiteral("Application Error")) continue;
            lines.push_back(atLine.match(message.text).captured(1).toInt());
        }
        return lines;
    }

    // Texts of the plain notices, in the order shown.
    QStringList notices() const {
        QStringList out;
        for (const Message& message : messages.shown)
            if (message.title != QStringLiteral("Application Error")) out << message.text;
        return out;
    }

    ListViewModel files{false};
    ListViewModel results{true};
    RecordingProgress progress;
    RecordingPointer pointer;
    FakeMessageBox messages;
    FakeEventPump events;
    ScriptedLink link;
    QString searchText;
    CaseOption option = CaseOption::IgnoreCase;
};

} // namespace hv::test
