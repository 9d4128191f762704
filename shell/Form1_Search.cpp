#include "Form1.h"

#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"
#include "search/OpenSelectedResult.h"
#include "search/SearchRun.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>

namespace hv {

void Form1::PushButton7_Click() {
    // One run at a time: a click while events run inside a run is ignored.
    if (searching) return;
    searching = true;
    const auto done = qScopeGuard([this] { searching = false; });

    SearchRun run(platform_.messages, platform_.photoshop, platform_.events,
                  SearchWindow{
                      ListView1->items(),
                      ListView2->items(),
                      *ProgressBar1,
                      *this,
                      [this] { return Text1->text(); },
                      [this] {
                          if (Option1->isChecked()) return CaseOption::MatchCase;
                          if (Option2->isChecked()) return CaseOption::IgnoreCase;
                          return CaseOption::Neither;
                      },
                  });
    run.run();
}

void Form1::PushButton3_Click() {
    OpenSelectedResult(platform_.messages, platform_.photoshop, *ListView2).run();
}

} // namespace hv
