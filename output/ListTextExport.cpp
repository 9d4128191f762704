#include "ListTextExport.h"

#include "ColumnText.h"
#include "TextLineWriter.h"
#include "core/ErrorTrap.h"
#include "core/FileNameOfPath.h"
#include "core/ListViewModel.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "platform/ProgressDisplay.h"

#include <QSaveFile>

#include <algorithm>

namespace hv {

namespace {

// Statement numbers of SaveListviewProperlySpaced. A progress step takes
// four numbers from its first: events, value, caption, events.
namespace line {
constexpr int kStartProgress = 102;
constexpr int kHeaderWidth = 114;
constexpr int kWidthEvents = 122;
constexpr int kFirstColumnWidth = 124;
constexpr int kColumnWidth = 128;
constexpr int kWidthsProgress = 144;
constexpr int kOpenFile = 156;
constexpr int kHeaderEvents = 160;
constexpr int kHeaderCell = 162;
constexpr int kWriteHeader = 170;
constexpr int kHeaderProgress = 174;
constexpr int kRowEvents = 184;
constexpr int kReadCheck = 188;
constexpr int kCellEvents = 192;
constexpr int kReadFirstCell = 194;
constexpr int kReadCell = 196;
constexpr int kRowProgressEvents = 212;
constexpr int kRowProgress = 214;
constexpr int kRowCaption = 218;
constexpr int kRowProgressEventsAfter = 220;
constexpr int kWriteRow = 222;
constexpr int kDoneValue = 228;
constexpr int kDoneCaption = 230;
constexpr int kCloseFile = 232;
constexpr int kIdleValue = 240;
constexpr int kIdleCaption = 242;
} // namespace line

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

    showProgress(trap, line::kStartProgress, 1, caption);
    const std::vector<qsizetype> widths = columnWidths(trap);
    showProgress(trap, line::kWidthsProgress, 10, caption);

    TextLineWriter out(device);
    trap(line::kOpenFile, [&] { out.open(fileName); });
    writeHeader(trap, widths, out);
    showProgress(trap, line::kHeaderProgress, 20, caption);
    writeRows(trap, widths, out, namePart);

    if (progress_) {
        trap(line::kDoneValue, [&] { progress_->setValue(100); });
        trap(line::kDoneCaption, [&] { progress_->setText(kDone); });
    }
    trap(line::kCloseFile, [&] { out.close(); });
    if (progress_) {
        trap(line::kIdleValue, [&] { progress_->setValue(0); });
        trap(line::kIdleCaption, [&] { progress_->setText(kIdle); });
    }
}

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
        trap(line::kHeaderWidth, [&] { width = list_.headerText(c).size(); });
        // Every row counts, checked or not; the count is read afresh each time.
        for (int r = 1; r <= list_.itemCount(); ++r) {
            letEventsRun(trap, line::kWidthEvents);
            trap(c == 1 ? line::kFirstColumnWidth : line::kColumnWidth,
                 [&] { width = std::max(width, list_.itemText(r, c).size()); });
        }
        widths.push_back(width);
    }
    return widths;
}

void ListTextExport::writeHeader(ErrorTrap& trap, const std::vector<qsizetype>& widths, TextLineWriter& out) {
    QString line;
    const int columns = list_.headerCount();
    for (int c = 1; c <= columns; ++c) {
        letEventsRun(trap, line::kHeaderEvents);
        trap(line::kHeaderCell, [&] { appendPaddedCell(line, list_.headerText(c), widthOfColumn(widths, c)); });
    }
    if (out.isWritable()) trap(line::kWriteHeader, [&] { out.writeLine(line); });
}

void ListTextExport::writeRows(ErrorTrap& trap, const std::vector<qsizetype>& widths, TextLineWriter& out,
                               const QString& namePart) {
    for (int i = 1; i <= list_.itemCount(); ++i) {
        letEventsRun(trap, line::kRowEvents);
        bool checked = false;
        if (!trap(line::kReadCheck, [&] { checked = list_.isChecked(i); }) || !checked) continue;
        QString line;
        if (!buildRowLine(trap, i, widths, line)) continue;
        if (progress_) {
            letEventsRun(trap, line::kRowProgressEvents);
            trap(line::kRowProgress, [&] { progress_->setValue(rowProgress(i, list_.itemCount())); });
            if (i % 1000 == 0)
                trap(line::kRowCaption, [&] {
                    progress_->setText(kWriting + namePart + QStringLiteral(" (") + QString::number(i)
                                       + QLatin1Char(')'));
                });
            letEventsRun(trap, line::kRowProgressEventsAfter);
        }
        if (out.isWritable()) trap(line::kWriteRow, [&] { out.writeLine(line); });
    }
}

// False when the row could not be read: the failure
// has been reported and the row is left out rather than written in part.
bool ListTextExport::buildRowLine(ErrorTrap& trap, int row, const std::vector<qsizetype>& widths, QString& line) {
    const int columns = list_.headerCount();
    for (int c = 1; c <= columns; ++c) {
        letEventsRun(trap, line::kCellEvents);
        QString text;
        if (!trap(c == 1 ? line::kReadFirstCell : line::kReadCell, [&] { text = list_.itemText(row, c); }))
            return false;
        appendPaddedCell(line, text, widthOfColumn(widths, c));
    }
    return true;
}

} // namespace hv
