#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace hv {

// The spreadsheet link: the calls the program makes to a spreadsheet
// application. Each throws hv::Failure when it cannot be carried out.

class SpreadsheetWorkbook {
public:
    virtual ~SpreadsheetWorkbook() = default;
    // ActiveSheet.Cells(row, column) = text; rows and columns count from 1.
    virtual void setCell(std::int32_t row, std::int32_t column, const QString& text) = 0;
    // ActiveSheet.Columns.AutoFit
    virtual void autoFitColumns() = 0;
};

class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;
    // Workbooks.add
    virtual SpreadsheetWorkbook& addWorkbook() = 0;
    // Visible = true: shows the workbook to the user.
    virtual void setVisible(bool visible) = 0;
};

class SpreadsheetLink {
public:
    virtual ~SpreadsheetLink() = default;
    virtual std::unique_ptr<SpreadsheetApplication> create() = 0;
};

} // namespace hv
