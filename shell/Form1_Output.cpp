#include "Form1.h"

#include "output/ListClipboardCopy.h"
#include "output/ListTextExport.h"
#include "output/ResultsWorkbook.h"
#include "core/ErrorTrap.h"
#include "platform/FileDialogs.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

namespace hv {

namespace {
const QString kTextFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
const QString kCopied = QStringLiteral("Results have been copied to the clipboard.\r\r"
                                       "Click a text area where you normally type and press Ctrl+V to paste "
                                       "the clipboard.");
} // namespace

// "Save Results As Text File": the checked results, column-aligned.
void Form1::PushButton4_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton4_Click"));
    QString fileName;
    // The save dialog starts with an empty name and asks no overwrite question.
    trap(112, [&] { fileName = platform_.fileDialogs.saveFile(QStringLiteral("Save"), kTextFilter); });
    if (fileName.isEmpty()) return; // 116: cancelled
    trap(118, [&] { setPointer(Pointer::Hourglass); });
    trap(120, [&] {
        ListTextExport(ListView2->items(), platform_.events, platform_.messages, ProgressBar1).save(fileName);
    });
    trap(122, [&] { setPointer(Pointer::Default); });
}

bool Form1::SaveResultsAsExcelFileIsExcelInstalled() {
    return SpreadsheetInstalled(platform_.spreadsheet, platform_.messages);
}

// "Save Results As Excel File": every result into a new workbook, shown to
// the user and left open.
void Form1::PushButton13_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));
    bool installed = false;
    trap(100, [&] { installed = SaveResultsAsExcelFileIsExcelInstalled(); });
    if (!installed) {
        trap(176, [&] { platform_.messages.show(notice(spreadsheetMissingForFeature())); });
        return;
    }
    bool empty = true;
    trap(108, [&] { empty = ListView2->items().itemCount() == 0; });
    if (empty) return;
    trap(110, [&] { setPointer(Pointer::Hourglass); });
    ResultsWorkbook sheet(ListView2->items(), platform_.spreadsheet, platform_.events);
    // Without an application or a workbook there is nothing to fill.
    if (trap(112, [&] { sheet.createApplication(); }) && trap(114, [&] { sheet.addWorkbook(); })) {
        sheet.writeHeaders(trap);
        sheet.writeRows(trap);
        trap(170, [&] { sheet.autoFit(); });
        trap(172, [&] { sheet.show(); });
    }
    trap(174, [&] { setPointer(Pointer::Default); });
}

// "Copy Results To Clipboard": the checked results as aligned text.
void Form1::PushButton8_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton8_Click"));
    trap(106, [&] { ListClipboardCopy(ListView2->items(), platform_.clipboard, platform_.events).copy(); });
    trap(108, [&] { platform_.messages.show(notice(kCopied)); });
}

// "Clear Results": empties the results list and touches nothing else.
void Form1::PushButton2_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton2_Click"));
    trap(100, [&] { ListView2->items().clearItems(); });
}

} // namespace hv
