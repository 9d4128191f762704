#pragma once

#include "LayerNameMatch.h"

#include <QString>

#include <functional>
#include <memory>

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
// document gives it) per match; beside its cells the row keeps what the link
// tells of the layer and its document, for the row's tool tip. Each step
// runs as a statement of the caller's error trap, which reports a failure
// under the step's number; the run goes on.
//
// A document that cannot be opened is reported once and skipped; a document
// that opened is always closed. Pending window events run once per document
// and once per layer, and every few milliseconds while a document is still
// being read: the documents are announced to the application in list order
// when the run starts, so it may read them ahead on other threads.
class SearchRun {
public:
    SearchRun(MessageBox& messages, QString appTitle, PhotoshopLink& link, EventPump& events, SearchWindow window);

    void run(ErrorTrap& trap);

private:
    void announce(ErrorTrap& trap, PhotoshopApplication* application, int count);
    void finish(ErrorTrap& trap, std::unique_ptr<PhotoshopApplication>& application);
    bool waitForDocument(ErrorTrap& trap, PhotoshopApplication* application, const QString& path);
    void searchDocument(ErrorTrap& trap, PhotoshopApplication* application, int index);
    void compareLayer(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index);
    void appendMatch(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index, int appendLine,
                     int nameLine);

    MessageBox& messages_;
    QString appTitle_;
    PhotoshopLink& link_;
    EventPump& events_;
    SearchWindow window_;
};

} // namespace hv
