#include "QtDialogs.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>

namespace hv {

namespace {

// Qt sizes a message box to its text, allowing only 50 pixels beside the
// title, so a short text ("Done.") cut the title off. The window manager
// draws the title in its own, often bold, font beside an icon and up to
// three buttons: the box is made at least that title's width plus six line
// heights wide.
void widenForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont font = box.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

} // namespace

QString qtFilterFromPipes(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) continue;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The description names the patterns already in the usual form.
        entries.append(parts[i].contains(QLatin1Char('(')) ? parts[i] : parts[i] + " (" + patterns + ")");
    }
    return entries.join(QStringLiteral(";;"));
}

MessageAnswer QtDialogs::show(const Message& message) {
    QMessageBox box(owner_);
    box.setWindowTitle(message.title);
    // A message may hold a file name or a layer name: shown as written, never
    // read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString(message.text)
                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                    .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setIcon(message.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        widenForTitle(box);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    widenForTitle(box);
    box.exec();
    return MessageAnswer::Ok;
}

QString QtDialogs::ask(const QString& prompt, const QString& title, const QString& defaultAnswer) {
    QString text = prompt;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    bool ok = false;
    const QString answer = QInputDialog::getText(owner_, title, text, QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

QStringList QtDialogs::openFiles(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(owner_, title, QString(), qtFilterFromPipes(filter));
}

QString QtDialogs::saveFile(const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(owner_, title, QString(), qtFilterFromPipes(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::browse(const QString& prompt, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(owner_, prompt, startFolder, QFileDialog::ShowDirsOnly);
}

} // namespace hv
