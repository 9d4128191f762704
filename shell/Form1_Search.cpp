#include "Form1.h"

#include "core/ErrorTrap.h"
#include "search/OpenSelectedResult.h"
#include "search/SearchRun.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>

namespace hv {

void Form1::PushButton7_Click() {
    // One run at a time: a click while events run inside a run is ignored.
    if (searching_) return;
    searching_ = true;
    const auto done = qScopeGuard([this] { searching_ = false; });

    ErrorTrap trap = trapOf("PushButton7_Click");
    SearchRun run(platform_.messages, appTitle_, platform_.photoshop, platform_.events,
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
    run.run(trap);
    announceMatches();
}

void Form1::PushButton3_Click() {
    ErrorTrap trap = trapOf("PushButton3_Click");
    OpenSelectedResult(platform_.photoshop, ListView2->items(), ListView2->selectedIndex()).run(trap);
}

} // namespace hv
