// The result commands: "Save Results As Text File", "Save Results As Excel
// File", "Copy Results To Clipboard" and "Clear Results".
#include "Form1.h"

#include "core/ErrorTrap.h"
#include "output/ClearResults.h"
#include "output/ClipboardCopy.h"
#include "output/TextFileExport.h"
#include "output/WorkbookExport.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

namespace hv {

void Form1::PushButton4_Click() {
    ErrorTrap trap = trapOf("PushButton4_Click");
    TextFileExport(ListView2->items(), platform_.fileDialogs, platform_.events, platform_.messages, *ProgressBar1,
                   *this)
        .run(trap);
}

void Form1::PushButton13_Click() {
    ErrorTrap trap = trapOf("PushButton13_Click");
    WorkbookExport(ListView2->items(), platform_.spreadsheet, platform_.events, platform_.messages, appTitle_, *this)
        .run(trap);
}

void Form1::PushButton8_Click() {
    ErrorTrap trap = trapOf("PushButton8_Click");
    ClipboardCopy(ListView2->items(), platform_.clipboard, platform_.events, platform_.messages, appTitle_).run(trap);
}

void Form1::PushButton2_Click() {
    ErrorTrap trap = trapOf("PushButton2_Click");
    ClearResults(ListView2->items()).run(trap);
}

} // namespace hv
