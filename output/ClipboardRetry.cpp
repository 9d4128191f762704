#include "ClipboardRetry.h"

#include "platform/Clipboard.h"

namespace hv {

namespace {
template <class Attempt>
bool retry(Attempt&& attempt) {
    for (int tries = 0; tries < kClipboardAttempts; ++tries)
        if (attempt()) return true;
    return false;
}
} // namespace

void ClearClipboard(Clipboard& clipboard) {
    retry([&] { return clipboard.clear(); });
}

bool SetClipboardText(Clipboard& clipboard, const QString& text) {
    return retry([&] { return clipboard.setText(text); });
}

} // namespace hv
