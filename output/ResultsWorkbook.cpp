#include "ResultsWorkbook.h"

#include "core/ErrorTrap.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "widgets/ListView.h"
#include "platform/MessageBox.h"
#include "platform/SpreadsheetLink.h"

namespace hv {

QString spreadsheetMissingForSoftware() {
    return QStringLiteral(
        "Excel is not installed on this computer. You need to have it installed to use this software without error.");
}

QString spreadsheetMissingForFeature() {
    return QStringLiteral(
        "Excel is not installed on this computer. You need to have it installed to use this feature.");
}

bool SpreadsheetInstalled(SpreadsheetLink& link, MessageBox& messages) {
    try {
        link.create().reset();
        return true;
    } catch (const std::exception&) {
    }
    try {
        messages.show(notice(spreadsheetMissingForSoftware()));
    } catch (const std::exception&) {
    }
    return false;
}

ResultsWorkbook::ResultsWorkbook(const ListViewModel& list, SpreadsheetLink& link, EventPump& events)
    : list_(list),
      link_(link),
      events_(events) {}

ResultsWorkbook::~ResultsWorkbook() = default;

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
        trap(120, [&] { events_.processEvents(); });
        // The first list row decides which headers are written.
        QString first;
        QString header;
        if (!trap(c == 1 ? 122 : 130, [&] {
                first = list_.itemText(1, c);
                header = list_.headerText(c);
            }))
            continue;
        if (first.isEmpty()) continue;
        if (!writeCell(trap, c == 1 ? 126 : 132, 1, i, header)) return;
        ++i;
    }
}

void ResultsWorkbook::writeRows(ErrorTrap& trap) {
    std::int32_t j = 2;
    for (int r = 1; r <= list_.itemCount() && !refused_; ++r) {
        trap(142, [&] { events_.processEvents(); });
        std::int32_t i = 1;
        const int columns = list_.headerCount();
        for (int c = 1; c <= columns; ++c) {
            trap(148, [&] { events_.processEvents(); });
            QString text;
            if (!trap(c == 1 ? 150 : 158, [&] { text = list_.itemText(r, c); })) break; // the row is gone
            if (text.isEmpty()) continue;
            if (c > 1) text.remove(QLatin1Char('='));
            if (!writeCell(trap, c == 1 ? 154 : 160, j, i, text)) return;
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
