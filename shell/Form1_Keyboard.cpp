// The window's keyboard and assistive-tool side: Return in the search box,
// the command shortcuts, moving file rows with Alt+Up and Alt+Down, and the
// names and descriptions that screen readers read for the lists and the
// progress bar.
#include "Form1.h"

#include "filelist/RowDrag.h"
#include "widgets/AccessibleEvents.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace hv {

namespace {

const char* const kFilesHint = "Delete removes the selected file, Alt+Up and Alt+Down move it.";
const char* const kResultsHint = "Space ticks the selected row for saving and copying.";

QString matchesFound(int count) {
    return count == 1 ? QStringLiteral("1 match found.") : QStringLiteral("%1 matches found.").arg(count);
}

} // namespace

void Form1::connectKeyboard() {
    connect(Text1, &QLineEdit::returnPressed, PushButton7, [this] { PushButton7->animateClick(); });
    // Shortcuts that leave every caption as it is; a button's own shortcut
    // is read out with it by screen readers.
    const std::pair<QPushButton*, QKeySequence> shortcuts[] = {
        {PushButton7, QKeySequence(Qt::CTRL | Qt::Key_Return)},
        {PushButton4, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {PushButton13, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {PushButton8, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {PushButton16, QKeySequence(Qt::Key_F1)},
        {PushButton1, QKeySequence(Qt::CTRL | Qt::Key_O)},
    };
    for (const auto& [button, keys] : shortcuts) {
        button->setShortcut(keys);
        const QString hint = QStringLiteral("Shortcut: ") + keys.toString(QKeySequence::NativeText);
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
    // The keypad's Enter searches too.
    auto* keypadEnter =
        new QShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)), this);
    connect(keypadEnter, &QShortcut::activated, PushButton7, [this] { PushButton7->animateClick(); });
}

void Form1::describeForAssistiveTools() {
    ListView1->setAccessibleName(QStringLiteral("Photoshop files"));
    ListView1->setAccessibleDescription(ListView1->toolTip() + QLatin1Char(' ') + QLatin1String(kFilesHint));
    ListView2->setAccessibleName(QStringLiteral("Results"));
    ListView2->setAccessibleDescription(ListView2->toolTip() + QLatin1Char(' ') + QLatin1String(kResultsHint));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
}

bool Form1::fileListKey(const QKeyEvent& event) {
    if (event.modifiers() != Qt::AltModifier || (event.key() != Qt::Key_Up && event.key() != Qt::Key_Down))
        return false;
    rowDrag_->moveSelected(event.key() == Qt::Key_Up ? -1 : 1);
    return true;
}

// Tells screen readers, without interrupting them, how many rows the search
// found; the results list keeps the count in its description.
void Form1::announceMatches() {
    const QString found = matchesFound(ListView2->items().itemCount());
    ListView2->setAccessibleDescription(found + QLatin1Char(' ') + ListView2->toolTip() + QLatin1Char(' ')
                                        + QLatin1String(kResultsHint));
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(ListView2, found);
    announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    sendAccessibleEvent(announcement);
#endif
}

} // namespace hv
