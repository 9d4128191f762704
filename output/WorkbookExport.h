#pragma once

#include <QString>

namespace hv {

class ErrorTrap;
class EventPump;
class ListViewModel;
class MessageBox;
class SpreadsheetLink;
class WindowPointer;

// The message of a failed spreadsheet check, and the one the export adds.
QString spreadsheetMissingForSoftware();
QString spreadsheetMissingForFeature();

// True when a spreadsheet application can be created (it is released again
// at once). Otherwise shows the first "not installed" message under the
// application title and answers false. Never fails.
bool SpreadsheetInstalled(SpreadsheetLink& link, MessageBox& messages, const QString& appTitle);

// "Save Results As Excel File": checks for a spreadsheet application, then,
// when there are results, fills a new workbook with every result row under
// the hourglass (ResultsWorkbook) and leaves it open for the user. Each step
// runs as a statement of the caller's error trap.
class WorkbookExport {
public:
    WorkbookExport(const ListViewModel& results, SpreadsheetLink& link, EventPump& events, MessageBox& messages,
                   QString appTitle, WindowPointer& pointer);

    void run(ErrorTrap& trap);

private:
    const ListViewModel& results_;
    SpreadsheetLink& link_;
    EventPump& events_;
    MessageBox& messages_;
    QString appTitle_;
    WindowPointer& pointer_;
};

} // namespace hv
