#include "WorkbookExport.h"

#include "ResultsWorkbook.h"
#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/MessageBox.h"
#include "platform/SpreadsheetLink.h"
#include "platform/WindowPointer.h"

namespace hv {

namespace {

// Statement numbers of "Save Results As Excel File"; the workbook's own
// steps (112 to 172) are ResultsWorkbook's.
namespace line {
constexpr int kCheckSpreadsheet = 100;
constexpr int kCountRows = 108;
constexpr int kHourglass = 110;
constexpr int kDefaultPointer = 174;
constexpr int kMissingNotice = 176;
} // namespace line

} // namespace

QString spreadsheetMissingForSoftware() {
    return QStringLiteral(
        "Excel is not installed on this computer. You need to have it installed to use this software without error.");
}

QString spreadsheetMissingForFeature() {
    return QStringLiteral(
        "Excel is not installed on this computer. You need to have it installed to use this feature.");
}

bool SpreadsheetInstalled(SpreadsheetLink& link, MessageBox& messages, const QString& appTitle) {
    try {
        link.create().reset();
        return true;
    } catch (const std::exception&) {
    }
    try {
        messages.show(notice(spreadsheetMissingForSoftware(), appTitle));
    } catch (const std::exception&) {
    }
    return false;
}

WorkbookExport::WorkbookExport(const ListViewModel& results, SpreadsheetLink& link, EventPump& events,
                               MessageBox& messages, QString appTitle, WindowPointer& pointer)
    : results_(results),
      link_(link),
      events_(events),
      messages_(messages),
      appTitle_(std::move(appTitle)),
      pointer_(pointer) {}

void WorkbookExport::run(ErrorTrap& trap) {
    bool installed = false;
    trap(line::kCheckSpreadsheet, [&] { installed = SpreadsheetInstalled(link_, messages_, appTitle_); });
    if (!installed) {
        trap(line::kMissingNotice, [&] { messages_.show(notice(spreadsheetMissingForFeature(), appTitle_)); });
        return;
    }
    bool empty = true;
    trap(line::kCountRows, [&] { empty = results_.itemCount() == 0; });
    if (empty) return;
    trap(line::kHourglass, [&] { pointer_.setPointer(Pointer::Hourglass); });
    ResultsWorkbook(results_, link_, events_).fill(trap);
    trap(line::kDefaultPointer, [&] { pointer_.setPointer(Pointer::Default); });
}

} // namespace hv
