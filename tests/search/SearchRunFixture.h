#pragma once

#include "support/Fakes.h"
#include "support/SearchReports.h"

#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "search/SearchRun.h"

#include <gtest/gtest.h>

#include <vector>

namespace hv::test {

// A search run over two bare lists, a scripted document link and recording
// fakes, reporting as the window's "Start Searching" does.
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
        ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"));
        SearchRun search(
            messages, appTitle, link, events,
            SearchWindow{files, results, progress, pointer, [this] { return searchText; }, [this] { return option; }});
        search.run(trap);
    }

    // The result rows as "path|name".
    QStringList rows() const { return resultRows(results); }

    // Statement numbers of the error reports, in the order shown.
    std::vector<int> reportedLines() const { return test::reportedLines(messages.shown); }

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
    FakePhotoshopLink link;
    const QString appTitle = QStringLiteral("Halvorine");
    QString searchText;
    CaseOption option = CaseOption::IgnoreCase;
};

} // namespace hv::test
