#include "TextFileExport.h"

#include "ListTextExport.h"
#include "core/ErrorTrap.h"
#include "platform/FileDialogs.h"
#include "platform/WindowPointer.h"

namespace hv {

namespace {

// Statement numbers of "Save Results As Text File".
namespace line {
constexpr int kAskForFile = 112;
constexpr int kHourglass = 118;
constexpr int kExport = 120;
constexpr int kDefaultPointer = 122;
} // namespace line

} // namespace

TextFileExport::TextFileExport(const ListViewModel& results, FileDialogs& dialogs, EventPump& events,
                               MessageBox& messages, ProgressDisplay& progress, WindowPointer& pointer)
    : results_(results),
      dialogs_(dialogs),
      events_(events),
      messages_(messages),
      progress_(progress),
      pointer_(pointer) {}

void TextFileExport::run(ErrorTrap& trap) {
    QString fileName;
    trap(line::kAskForFile,
         [&] { fileName = dialogs_.saveFile(QStringLiteral("Save"), QString::fromLatin1(kTextFileFilter)); });
    if (fileName.isEmpty()) return; // cancelled
    trap(line::kHourglass, [&] { pointer_.setPointer(Pointer::Hourglass); });
    trap(line::kExport, [&] { ListTextExport(results_, events_, messages_, &progress_).save(fileName); });
    trap(line::kDefaultPointer, [&] { pointer_.setPointer(Pointer::Default); });
}

} // namespace hv
