#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace hv {

class ErrorTrap;
class EventPump;
class ListViewModel;
class SpreadsheetApplication;
class SpreadsheetLink;
class SpreadsheetWorkbook;

// Copies every row of a list into a new workbook of the spreadsheet
// application. Sheet row 1 holds the headers, list row r goes to sheet row
// r + 1. Within a sheet row the cells are packed from column 1: an empty
// list cell is skipped. A header is written only where the first list row's
// cell is not empty. Cells of the first column go in unchanged; cells of the
// later columns lose every "=" (tested for emptiness before).
//
// The list is read afresh at every step with window events running between
// cells. Each step runs as a statement of the caller's error trap: a row
// that cannot be read is reported and skipped; after the first cell the
// spreadsheet refuses, no further cells are sent.
class ResultsWorkbook {
public:
    ResultsWorkbook(const ListViewModel& list, SpreadsheetLink& link, EventPump& events);
    ~ResultsWorkbook();

    // Creates the application and a workbook, writes the headers and the
    // rows, fits the columns and shows the workbook. Without an application
    // or a workbook there is nothing to fill and the rest is left out.
    void fill(ErrorTrap& trap);

private:
    void createApplication();
    void addWorkbook();
    void writeHeaders(ErrorTrap& trap);
    void writeRows(ErrorTrap& trap);
    void autoFit();
    void show();
    bool writeCell(ErrorTrap& trap, int line, std::int32_t row, std::int32_t column, const QString& text);
    SpreadsheetWorkbook& workbook();

    const ListViewModel& list_;
    SpreadsheetLink& link_;
    EventPump& events_;
    std::unique_ptr<SpreadsheetApplication> application_;
    SpreadsheetWorkbook* workbook_ = nullptr;
    bool refused_ = false; // the spreadsheet refused a cell
};

} // namespace hv
