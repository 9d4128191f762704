#pragma once

#include "platform/SpreadsheetLink.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace hv {

class DesktopShell;

// The mime type of XLSX workbooks.
inline constexpr const char* kXlsxMimeType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// True when the desktop has an application that opens XLSX workbooks: the
// default that xdg-mime names or, when xdg-mime cannot be run, an entry of
// the desktop's mime tables. Never fails.
bool desktopOpensXlsx();

struct XlsxLinkOptions {
    // Whether an application that opens XLSX workbooks is available.
    std::function<bool()> viewerAvailable = desktopOpensXlsx;
    // Folder the workbooks are saved in; the temporary folder when empty.
    QString folder;
    // The time that names a saved workbook.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
};

// The spreadsheet link of this platform. A workbook is written as an XLSX
// file with libxlsxwriter, every cell text as a text (never a formula or a
// number). Making the application visible saves each workbook under a new
// name, such as "Halvorine results 2026-12-08 10-31-05.xlsx", in the folder
// of the options (never over an existing file) and opens it with the
// desktop's default application, where the user saves or discards it. A
// workbook released before that leaves nothing behind.
//
// create() fails when no application is available to open XLSX workbooks.
class XlsxSpreadsheetLink : public SpreadsheetLink {
public:
    explicit XlsxSpreadsheetLink(DesktopShell& desktop, XlsxLinkOptions options = {});
    std::unique_ptr<SpreadsheetApplication> create() override;

private:
    DesktopShell& desktop_;
    XlsxLinkOptions options_;
};

// The name of a workbook saved at `when`; `attempt` 2 and on add " (2)" and
// so on, for when the plain name is taken.
QString xlsxWorkbookName(const QDateTime& when, int attempt = 1);

// The width a text needs in a sheet column, in characters of the sheet's
// default font: one per character, two for an East Asian wide one.
int xlsxTextWidth(const QString& text);

} // namespace hv
