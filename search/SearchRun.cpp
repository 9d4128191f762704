#include "SearchRun.h"

#include "core/ErrorTrap.h"
#include "core/FileNameOfPath.h"
#include "core/ListViewModel.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "platform/MessageBox.h"
#include "platform/PhotoshopLink.h"
#include "platform/ProgressDisplay.h"
#include "platform/WindowPointer.h"

#include <cstdint>
#include <memory>

namespace hv {

namespace {

// Statement numbers of "Start Searching". Some steps share a number.
namespace line {
constexpr int kCountFiles = 104;
constexpr int kNoFilesNotice = 156;
constexpr int kHourglass = 104;
constexpr int kClearResults = 110;
constexpr int kCreateApplication = 110;
constexpr int kCountRows = 112;
constexpr int kReadPath = 116;
constexpr int kShowProgress = 108;
constexpr int kLetEventsRun = 114;
constexpr int kHourglassAgain = 114;
constexpr int kOpen = 118;
constexpr int kCountLayers = 120;
constexpr int kLayerEvents = 120;
constexpr int kReadCaseOption = 122;
constexpr int kCompareMatchCase = 124;
constexpr int kAppendMatchCase = 126;
constexpr int kReadNameMatchCase = 128;
constexpr int kCompareIgnoreCase = 132;
constexpr int kAppendIgnoreCase = 134;
constexpr int kReadNameIgnoreCase = 136;
constexpr int kClose = 140;
constexpr int kReleaseDocument = 142;
constexpr int kQuit = 146;
constexpr int kReleaseApplication = 148;
constexpr int kDoneNotice = 150;
constexpr int kDefaultPointer = 152;
constexpr int kResetProgress = 154;
} // namespace line

// How long the run waits for a document before it lets events run again: a
// slow or huge document never holds the window up for much longer.
constexpr int kWaitSliceMs = 15;

PhotoshopApplication& linked(PhotoshopApplication* application) {
    if (!application) throw Failure(QStringLiteral("The document reader is not available"));
    return *application;
}

std::unique_ptr<PhotoshopDocument> openDocument(PhotoshopApplication* application, const QString& path) {
    std::unique_ptr<PhotoshopDocument> document = linked(application).open(path);
    if (!document) throw Failure(QStringLiteral("The document could not be opened"));
    return document;
}

// What the row keeps of its layer and document for its tool tip. A link
// that cannot tell is no failure of the run: the row then keeps "unknown".
RowFacts factsOf(PhotoshopDocument& document, std::int32_t index) {
    try {
        return RowFacts{document.documentFacts(), document.layerFacts(index)};
    } catch (...) {
        return {};
    }
}

} // namespace

SearchRun::SearchRun(MessageBox& messages, QString appTitle, PhotoshopLink& link, EventPump& events,
                     SearchWindow window)
    : messages_(messages),
      appTitle_(std::move(appTitle)),
      link_(link),
      events_(events),
      window_(std::move(window)) {}

void SearchRun::run(ErrorTrap& trap) {
    bool noFiles = false;
    trap(line::kCountFiles, [&] { noFiles = window_.files.itemCount() == 0; });
    if (noFiles) {
        trap(line::kNoFilesNotice, [&] { messages_.show(notice(QStringLiteral("No files added."), appTitle_)); });
        return;
    }
    trap(line::kHourglass, [&] { window_.pointer.setPointer(Pointer::Hourglass); });
    trap(line::kClearResults, [&] { window_.results.clearItems(); });

    std::unique_ptr<PhotoshopApplication> application;
    trap(line::kCreateApplication, [&] { application = link_.create(); });

    // Rows added while the run lets events run are not searched.
    int count = 0;
    trap(line::kCountRows, [&] { count = window_.files.itemCount(); });
    announce(trap, application.get(), count);
    for (int i = 1; i <= count; ++i) searchDocument(trap, application.get(), i);
    finish(trap, application);
}

void SearchRun::announce(ErrorTrap& trap, PhotoshopApplication* application, int count) {
    if (!application || count <= 0) return;
    // The documents are opened in list order; rows that change while events
    // run are still opened as they then stand.
    trap(line::kCountRows, [&] {
        QStringList paths;
        paths.reserve(count);
        for (int i = 1; i <= count; ++i) paths << window_.files.itemText(i);
        application->expect(paths);
    });
}

void SearchRun::finish(ErrorTrap& trap, std::unique_ptr<PhotoshopApplication>& application) {
    trap(line::kQuit, [&] { linked(application.get()).quit(); });
    trap(line::kReleaseApplication, [&] { application.reset(); });
    trap(line::kDefaultPointer, [&] { window_.pointer.setPointer(Pointer::Default); });
    trap(line::kResetProgress, [&] { window_.progress.setValue(0); });
    trap(line::kResetProgress, [&] { window_.progress.setText(QStringLiteral("Progress Bar")); });
    trap(line::kDoneNotice, [&] { messages_.show(notice(QStringLiteral("Done."), appTitle_)); });
}

void SearchRun::searchDocument(ErrorTrap& trap, PhotoshopApplication* application, int index) {
    QString path;
    // Without its row there is no document to search: going on would search
    // the previous document again.
    if (!trap(line::kReadPath, [&] { path = window_.files.itemText(index); })) return;

    // The current row count: rows added during the run lower the value.
    trap(line::kShowProgress,
         [&] { window_.progress.setValue(static_cast<double>(index) / window_.files.itemCount() * 100.0); });
    trap(line::kShowProgress, [&] { window_.progress.setText(QStringLiteral("Processing: ") + FileNameOfPath(path)); });
    trap(line::kLetEventsRun, [&] { events_.processEvents(); });
    // Another long operation may have reset the pointer while events ran.
    trap(line::kHourglassAgain, [&] { window_.pointer.setPointer(Pointer::Hourglass); });

    if (!waitForDocument(trap, application, path)) return;
    std::unique_ptr<PhotoshopDocument> document;
    if (!trap(line::kOpen, [&] { document = openDocument(application, path); })) return;

    std::int32_t layers = 0;
    trap(line::kCountLayers, [&] { layers = document->layerCount(); });
    for (std::int32_t j = 1; j <= layers; ++j) compareLayer(trap, *document, path, j);

    trap(line::kClose, [&] { document->close(); });
    trap(line::kReleaseDocument, [&] { document.reset(); });
}

bool SearchRun::waitForDocument(ErrorTrap& trap, PhotoshopApplication* application, const QString& path) {
    if (!application) return true; // the open reports it
    // A failed wait is the open's failure: the document's one report.
    for (;;) {
        bool ready = false;
        if (!trap(line::kOpen, [&] { ready = application->waitUntilReady(path, kWaitSliceMs); })) return false;
        if (ready) return true;
        trap(line::kLetEventsRun, [&] { events_.processEvents(); });
        trap(line::kHourglassAgain, [&] { window_.pointer.setPointer(Pointer::Hourglass); });
    }
}

void SearchRun::compareLayer(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index) {
    trap(line::kLayerEvents, [&] { events_.processEvents(); });

    CaseOption option = CaseOption::Neither;
    trap(line::kReadCaseOption, [&] { option = window_.caseOption(); });
    if (option == CaseOption::Neither) return;
    const bool matchCase = option == CaseOption::MatchCase;

    bool match = false;
    if (!trap(matchCase ? line::kCompareMatchCase : line::kCompareIgnoreCase, [&] {
            // Compared in place where the document lends its text.
            const QString text = window_.searchText();
            if (const std::optional<QStringView> name = document.layerNameView(index))
                match = LayerNameContains(*name, text, option);
            else
                match = LayerNameContains(document.layerName(index), text, option);
        }))
        return;
    if (!match) return;
    if (matchCase)
        appendMatch(trap, document, path, index, line::kAppendMatchCase, line::kReadNameMatchCase);
    else
        appendMatch(trap, document, path, index, line::kAppendIgnoreCase, line::kReadNameIgnoreCase);
}

void SearchRun::appendMatch(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index,
                            int appendLine, int nameLine) {
    // The name is read again for its cell. The row is appended only once
    // both cells are known, so a failed read leaves no half-filled row.
    QString name;
    if (!trap(nameLine, [&] { name = document.layerName(index); })) return;
    trap(appendLine, [&] { window_.results.addItem(QStringList{path, name}, factsOf(document, index)); });
}

} // namespace hv
