#include "QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace hv {

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
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
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
