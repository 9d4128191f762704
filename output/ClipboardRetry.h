#pragma once

#include <QString>

namespace hv {

class Clipboard;

// The clipboard is shared with other programs and refuses while one of them
// holds it. Both operations make up to kClipboardAttempts attempts and stop
// at the first that succeeds; a refusal is never reported.
inline constexpr int kClipboardAttempts = 1000;

// Empties the clipboard.
void ClearClipboard(Clipboard& clipboard);
// Places `text` as plain text; true when the last attempt succeeded.
bool SetClipboardText(Clipboard& clipboard, const QString& text);

} // namespace hv
