#pragma once

#include "LayerNameMatch.h"

#include <QString>

#include <functional>

namespace hv {

class ErrorTrap;
class EventPump;
class ListViewModel;
class MessageBox;
class PhotoshopApplication;
class PhotoshopDocument;
class PhotoshopLink;
class ProgressDisplay;
class WindowPointer;

// The main-window parts a search run reads and drives.
struct SearchWindow {
    const ListViewModel& files; // the file list, read afresh at every step
    ListViewModel& results;     // cleared first, then one row per match
    ProgressDisplay& progress;
    WindowPointer& pointer; // the hourglass is the busy flag
    // Read again for every layer, so changes made while events run apply
    // from the next layer on.
    std::function<QString()> searchText;
    std::function<CaseOption()> caseOption;
};

// "Start Searching": opens every listed document through the document link,
// compares the name of every item of its layer collection with the search
// text and appends one unticked result row (path as listed, name as the
// document gives it) per match. Failures are reported through the error trap
// of Form1.PushButton7_Click under the number of the failing statement, and
// the run goes on.
//
// A document that cannot be opened is reported once and skipped; a document
// that opened is always closed. Pending window events run once per document
// and once per layer.
class SearchRun {
public:
    SearchRun(MessageBox& messages, PhotoshopLink& link, EventPump& events, SearchWindow window);

    void run();

private:
    void searchDocument(ErrorTrap& trap, PhotoshopApplication* application, int index);
    void compareLayer(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index);
    void appendMatch(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index, int appendLine,
                     int nameLine);

    MessageBox& messages_;
    PhotoshopLink& link_;
    EventPump& events_;
    SearchWindow window_;
};

} // namespace hv
