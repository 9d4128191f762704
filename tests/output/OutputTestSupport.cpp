#include "OutputTestSupport.h"

#include "output/ResultsWorkbook.h"
#include "core/ErrorTrap.h"

namespace hv::test {

std::unique_ptr<ListViewModel> resultsList(const std::vector<std::pair<QString, QString>>& rows, bool checked) {
    auto list = std::make_unique<ListViewModel>(true);
    list->addColumn(QStringLiteral("File"));
    list->addColumn(QStringLiteral("Layer Name"));
    for (const auto& [path, layer] : rows) {
        const int row = list->addItem(QStringList{path, layer});
        list->setChecked(row, checked);
    }
    return list;
}

void exportToWorkbook(const ListViewModel& list, SpreadsheetLink& link, EventPump& events, MessageBox& messages) {
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));
    ResultsWorkbook sheet(list, link, events);
    sheet.createApplication();
    sheet.addWorkbook();
    sheet.writeHeaders(trap);
    sheet.writeRows(trap);
    sheet.autoFit();
    sheet.show();
}

} // namespace hv::test
