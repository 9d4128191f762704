#pragma once

#include <QString>

#include <vector>

class QIODevice;

namespace hv {

class ErrorTrap;
class EventPump;
class ListViewModel;
class MessageBox;
class ProgressDisplay;
class TextLineWriter;

// SaveListviewProperlySpaced of module Main: writes a list into a text file,
// the header line first, then one line for every checked row. Every cell is
// padded with spaces to its column's width (the longest of its header and
// all its cells, checked or not) and followed by one TAB; lines end with
// CR LF.
//
// The list is read afresh at every step and window events run between rows
// and cells, so it may change while the file is written. Every failure is
// shown as the error report of "Main.SaveListviewProperlySpaced" with its
// statement number; nothing escapes. A row that cannot be read (it was
// removed meanwhile) is reported once and left out.
class ListTextExport {
public:
    // `progress` may be null: then no progress is shown.
    ListTextExport(const ListViewModel& list, EventPump& events, MessageBox& messages, ProgressDisplay* progress);

    // Writes the file through a temporary file beside it that takes its place
    // only when complete; on any failure the old file stays as it was.
    void save(const QString& fileName);
    // Writes into `device`, which is opened here and closed (a QSaveFile:
    // committed) at the end; `fileName` names it in the progress caption.
    void save(const QString& fileName, QIODevice& device);

private:
    std::vector<qsizetype> columnWidths(ErrorTrap& trap);
    void writeHeader(ErrorTrap& trap, const std::vector<qsizetype>& widths, TextLineWriter& out);
    void writeRows(ErrorTrap& trap, const std::vector<qsizetype>& widths, TextLineWriter& out, const QString& namePart);
    bool buildRowLine(ErrorTrap& trap, int row, const std::vector<qsizetype>& widths, QString& line);
    void showProgress(ErrorTrap& trap, int firstLine, double value, const QString& caption);
    void letEventsRun(ErrorTrap& trap, int line);

    const ListViewModel& list_;
    EventPump& events_;
    MessageBox& messages_;
    ProgressDisplay* progress_;
};

// The progress of the row at position `row` of `rowCount` rows, in percent:
// (row + rowCount div 2000) / rowCount * 100. Throws hv::Failure when the
// list has no rows left.
double rowProgress(int row, int rowCount);

} // namespace hv
