#include "ListTextExport.h"

#include "ColumnText.h"
#include "TextLineWriter.h"
#include "core/ErrorTrap.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "widgets/ListView.h"
#include "platform/ProgressDisplay.h"
#include "core/FileNameOfPath.h"

#include <QSaveFile>

#include <algorithm>

namespace hv {

namespace {

const QString kWriting = QStringLiteral("Writing file: ");
const QString kDone = QStringLiteral("Done.");
const QString kIdle = QStringLiteral("Progress Bar");

} // namespace

double rowProgress(int row, int rowCount) {
    if (rowCount <= 0) throw Failure(QStringLiteral("Division by zero"));
    return (static_cast<double>(row) + rowCount / 2000) / rowCount * 100.0;
}

ListTextExport::ListTextExport(const ListViewModel& list, EventPump& events, MessageBox& messages,
                               ProgressDisplay* progress)
    : list_(list),
      events_(events),
      messages_(messages),
      progress_(progress) {}

void ListTextExport::save(const QString& fileName) {
    QSaveFile file(fileName);
    save(fileName, file);
}

void ListTextExport::save(const QString& fileName, QIODevice& device) {
    ErrorTrap trap(messages_, QStringLiteral("Main"), QStringLiteral("SaveListviewProperlySpaced"));
    const QString namePart = FileNameOfPath(fileName);
    const QString caption = kWriting + namePart;

    showProgress(trap, 102, 1, caption);                      // 100 to 108
    const std::vector<qsizetype> widths = columnWidths(trap); // 110 to 138
    showProgress(trap, 144, 10, caption);                     // 142 to 150

    TextLineWriter out(device);
    trap(156, [&] { out.open(fileName); });
    writeHeader(trap, widths, out);         // 158 to 170
    showProgress(trap, 174, 20, caption);   // 172 to 180
    writeRows(trap, widths, out, namePart); // 182 to 222

    if (progress_) { // 226
        trap(228, [&] { progress_->setValue(100); });
        trap(230, [&] { progress_->setText(kDone); });
    }
    trap(232, [&] { out.close(); });
    if (progress_) { // 238
        trap(240, [&] { progress_->setValue(0); });
        trap(242, [&] { progress_->setText(kIdle); });
    }
}

// Statements firstLine to firstLine + 6: events, value, caption, events.
void ListTextExport::showProgress(ErrorTrap& trap, int firstLine, double value, const QString& caption) {
    if (!progress_) return;
    letEventsRun(trap, firstLine);
    trap(firstLine + 2, [&] { progress_->setValue(value); });
    trap(firstLine + 4, [&] { progress_->setText(caption); });
    letEventsRun(trap, firstLine + 6);
}

void ListTextExport::letEventsRun(ErrorTrap& trap, int line) {
    trap(line, [&] { events_.processEvents(); });
}

std::vector<qsizetype> ListTextExport::columnWidths(ErrorTrap& trap) {
    std::vector<qsizetype> widths;
    const int columns = list_.headerCount();
    for (int c = 1; c <= columns; ++c) {
        qsizetype width = 0;
        trap(114, [&] { width = list_.headerText(c).size(); });
        // Every row counts, checked or not; the count is read afresh each time.
        for (int r = 1; r <= list_.itemCount(); ++r) {
            letEventsRun(trap, 122);
            trap(c == 1 ? 124 : 128, [&] { width = std::max(width, list_.itemText(r, c).size()); });
        }
        widths.push_back(width);
    }
    return widths;
}

void ListTextExport::writeHeader(ErrorTrap& trap, const std::vector<qsizetype>& widths, TextLineWriter& out) {
    QString line;
    const int columns = list_.headerCount();
    for (int c = 1; c <= columns; ++c) {
        letEventsRun(trap, 160);
        trap(162, [&] { appendPaddedCell(line, list_.headerText(c), widthOfColumn(widths, c)); });
    }
    if (out.isWritable()) trap(170, [&] { out.writeLine(line); });
}

void ListTextExport::writeRows(ErrorTrap& trap, const std::vector<qsizetype>& widths, TextLineWriter& out,
                               const QString& namePart) {
    for (int i = 1; i <= list_.itemCount(); ++i) {
        letEventsRun(trap, 184);
        bool checked = false;
        if (!trap(188, [&] { checked = list_.isChecked(i); }) || !checked) continue;
        QString line;
        if (!buildRowLine(trap, i, widths, line)) continue;
        if (progress_) {
            letEventsRun(trap, 212);
            trap(214, [&] { progress_->setValue(rowProgress(i, list_.itemCount())); });
            if (i % 1000 == 0)
                trap(218, [&] {
                    progress_->setText(kWriting + namePart + QStringLiteral(" (") + QString::number(i)
                                       + QLatin1Char(')'));
                });
            letEventsRun(trap, 220);
        }
        if (out.isWritable()) trap(222, [&] { out.writeLine(line); });
    }
}

// Statements 190 to 208. False when the row could not be read: the failure
// has been reported and the row is left out rather than written in part.
bool ListTextExport::buildRowLine(ErrorTrap& trap, int row, const std::vector<qsizetype>& widths, QString& line) {
    const int columns = list_.headerCount();
    for (int c = 1; c <= columns; ++c) {
        letEventsRun(trap, 192);
        QString text;
        if (!trap(c == 1 ? 194 : 196, [&] { text = list_.itemText(row, c); })) return false;
        appendPaddedCell(line, text, widthOfColumn(widths, c));
    }
    return true;
}

} // namespace hv
