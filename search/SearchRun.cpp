#include "SearchRun.h"

#include "core/FileNameOfPath.h"

#include "core/ErrorTrap.h"
#include "platform/EventPump.h"
#include "platform/Failure.h"
#include "widgets/ListView.h"
#include "platform/MessageBox.h"
#include "platform/PhotoshopLink.h"
#include "platform/ProgressDisplay.h"
#include "platform/WindowPointer.h"

#include <cstdint>
#include <memory>

namespace hv {

namespace {

PhotoshopApplication& linked(PhotoshopApplication* application) {
    if (!application) throw Failure(QStringLiteral("The document reader is not available"));
    return *application;
}

std::unique_ptr<PhotoshopDocument> openDocument(PhotoshopApplication* application, const QString& path) {
    std::unique_ptr<PhotoshopDocument> document = linked(application).open(path);
    if (!document) throw Failure(QStringLiteral("The document could not be opened"));
    return document;
}

} // namespace

SearchRun::SearchRun(MessageBox& messages, PhotoshopLink& link, EventPump& events, SearchWindow window)
    : messages_(messages),
      link_(link),
      events_(events),
      window_(std::move(window)) {}

void SearchRun::run() {
    ErrorTrap trap(messages_, QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"));

    bool noFiles = false;
    trap(104, [&] { noFiles = window_.files.itemCount() == 0; });
    if (noFiles) {
        trap(156, [&] { messages_.show(notice(QStringLiteral("No files added."))); });
        return;
    }
    trap(104, [&] { window_.pointer.setPointer(Pointer::Hourglass); });
    trap(110, [&] { window_.results.clearItems(); });

    std::unique_ptr<PhotoshopApplication> application;
    trap(110, [&] { application = link_.create(); });

    // Rows added while the run lets events run are not searched.
    int count = 0;
    trap(112, [&] { count = window_.files.itemCount(); });
    for (int i = 1; i <= count; ++i) searchDocument(trap, application.get(), i);

    trap(146, [&] { linked(application.get()).quit(); });
    trap(148, [&] { application.reset(); });
    trap(152, [&] { window_.pointer.setPointer(Pointer::Default); });
    trap(154, [&] { window_.progress.setValue(0); });
    trap(154, [&] { window_.progress.setText(QStringLiteral("Progress Bar")); });
    trap(150, [&] { messages_.show(notice(QStringLiteral("Done."))); });
}

void SearchRun::searchDocument(ErrorTrap& trap, PhotoshopApplication* application, int index) {
    QString path;
    // Without its row there is no document to search: going on would search
    // the previous document again.
    if (!trap(116, [&] { path = window_.files.itemText(index); })) return;

    // The current row count: rows added during the run lower the value.
    trap(108, [&] { window_.progress.setValue(static_cast<double>(index) / window_.files.itemCount() * 100.0); });
    trap(108, [&] { window_.progress.setText(QStringLiteral("Processing: ") + FileNameOfPath(path)); });
    trap(114, [&] { events_.processEvents(); });
    // Another long operation may have reset the pointer while events ran.
    trap(114, [&] { window_.pointer.setPointer(Pointer::Hourglass); });

    std::unique_ptr<PhotoshopDocument> document;
    if (!trap(118, [&] { document = openDocument(application, path); })) return;

    std::int32_t layers = 0;
    trap(120, [&] { layers = document->layerCount(); });
    for (std::int32_t j = 1; j <= layers; ++j) compareLayer(trap, *document, path, j);

    trap(140, [&] { document->close(); });
    trap(142, [&] { document.reset(); });
}

void SearchRun::compareLayer(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index) {
    trap(120, [&] { events_.processEvents(); });

    CaseOption option = CaseOption::Neither;
    trap(122, [&] { option = window_.caseOption(); });
    const int compareLine = option == CaseOption::MatchCase ? 124 : 132;
    if (option == CaseOption::Neither) return;

    bool match = false;
    if (!trap(compareLine, [&] { match = LayerNameContains(document.layerName(index), window_.searchText(), option); }))
        return;
    if (!match) return;
    if (option == CaseOption::MatchCase)
        appendMatch(trap, document, path, index, 126, 128);
    else
        appendMatch(trap, document, path, index, 134, 136);
}

void SearchRun::appendMatch(ErrorTrap& trap, PhotoshopDocument& document, const QString& path, int index,
                            int appendLine, int nameLine) {
    // The name is read again for its cell. The row is appended only once
    // both cells are known, so a failed read leaves no half-filled row.
    QString name;
    if (!trap(nameLine, [&] { name = document.layerName(index); })) return;
    trap(appendLine, [&] { window_.results.addItem(QStringList{path, name}); });
}

} // namespace hv
