#include "ResultsWorkbook.h"

#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "platform/SpreadsheetLink.h"

namespace hv {

namespace {

// Statement numbers of the workbook steps of "Save Results As Excel File".
namespace line {
constexpr int kCreateApplication = 112;
constexpr int kAddWorkbook = 114;
constexpr int kHeaderEvents = 120;
constexpr int kReadFirstHeader = 122;
constexpr int kWriteFirstHeader = 126;
constexpr int kReadHeader = 130;
constexpr int kWriteHeader = 132;
constexpr int kRowEvents = 142;
constexpr int kCellEvents = 148;
constexpr int kReadFirstCell = 150;
constexpr int kWriteFirstCell = 154;
constexpr int kReadCell = 158;
constexpr int kWriteCell = 160;
constexpr int kAutoFit = 170;
constexpr int kShow = 172;
} // namespace line

} // namespace

ResultsWorkbook::ResultsWorkbook(const ListViewModel& list, SpreadsheetLink& link, EventPump& events)
    : list_(list),
      link_(link),
      events_(events) {}

ResultsWorkbook::~ResultsWorkbook() = default;

void ResultsWorkbook::fill(ErrorTrap& trap) {
    if (!trap(line::kCreateApplication, [&] { createApplication(); })) return;
    if (!trap(line::kAddWorkbook, [&] { addWorkbook(); })) return;
    writeHeaders(trap);
    writeRows(trap);
    trap(line::kAutoFit, [&] { autoFit(); });
    trap(line::kShow, [&] { show(); });
}

void ResultsWorkbook::createApplication() {
    application_ = link_.create();
}

void ResultsWorkbook::addWorkbook() {
    if (!application_) throw Failure(QStringLiteral("Object variable not set"));
    workbook_ = &application_->addWorkbook();
}

SpreadsheetWorkbook& ResultsWorkbook::workbook() {
    if (!workbook_) throw Failure(QStringLiteral("Object variable not set"));
    return *workbook_;
}

bool ResultsWorkbook::writeCell(ErrorTrap& trap, int line, std::int32_t row, std::int32_t column, const QString& text) {
    if (!trap(line, [&] { workbook().setCell(row, column, text); })) refused_ = true;
    return !refused_;
}

void ResultsWorkbook::writeHeaders(ErrorTrap& trap) {
    std::int32_t i = 1;
    const int columns = list_.headerCount();
    for (int c = 1; c <= columns && !refused_; ++c) {
        trap(line::kHeaderEvents, [&] { events_.processEvents(); });
        // The first list row decides which headers are written.
        QString first;
        QString header;
        if (!trap(c == 1 ? line::kReadFirstHeader : line::kReadHeader, [&] {
                first = list_.itemText(1, c);
                header = list_.headerText(c);
            }))
            continue;
        if (first.isEmpty()) continue;
        if (!writeCell(trap, c == 1 ? line::kWriteFirstHeader : line::kWriteHeader, 1, i, header)) return;
        ++i;
    }
}

void ResultsWorkbook::writeRows(ErrorTrap& trap) {
    std::int32_t j = 2;
    for (int r = 1; r <= list_.itemCount() && !refused_; ++r) {
        trap(line::kRowEvents, [&] { events_.processEvents(); });
        std::int32_t i = 1;
        const int columns = list_.headerCount();
        for (int c = 1; c <= columns; ++c) {
            trap(line::kCellEvents, [&] { events_.processEvents(); });
            QString text;
            // A cell that cannot be read means the row is gone.
            if (!trap(c == 1 ? line::kReadFirstCell : line::kReadCell, [&] { text = list_.itemText(r, c); })) break;
            if (text.isEmpty()) continue;
            if (c > 1) text.remove(QLatin1Char('='));
            if (!writeCell(trap, c == 1 ? line::kWriteFirstCell : line::kWriteCell, j, i, text)) return;
            ++i;
        }
        ++j;
    }
}

void ResultsWorkbook::autoFit() {
    workbook().autoFitColumns();
}

void ResultsWorkbook::show() {
    if (!application_) throw Failure(QStringLiteral("Object variable not set"));
    application_->setVisible(true);
}

} // namespace hv
