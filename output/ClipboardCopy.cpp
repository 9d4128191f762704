#include "ClipboardCopy.h"

#include "ListClipboardCopy.h"
#include "core/ErrorTrap.h"
#include "platform/MessageBox.h"

namespace hv {

namespace {

// Statement numbers of "Copy Results To Clipboard".
namespace line {
constexpr int kCopy = 106;
constexpr int kCopiedNotice = 108;
} // namespace line

const char* const kCopied = "Results have been copied to the clipboard.\r\r"
                            "Click a text area where you normally type and press Ctrl+V to paste the clipboard.";

} // namespace

ClipboardCopy::ClipboardCopy(const ListViewModel& results, Clipboard& clipboard, EventPump& events,
                             MessageBox& messages, QString appTitle)
    : results_(results),
      clipboard_(clipboard),
      events_(events),
      messages_(messages),
      appTitle_(std::move(appTitle)) {}

void ClipboardCopy::run(ErrorTrap& trap) {
    trap(line::kCopy, [&] { ListClipboardCopy(results_, clipboard_, events_).copy(); });
    trap(line::kCopiedNotice, [&] { messages_.show(notice(QString::fromLatin1(kCopied), appTitle_)); });
}

} // namespace hv
