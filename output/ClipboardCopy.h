#pragma once

#include <QString>

namespace hv {

class Clipboard;
class ErrorTrap;
class EventPump;
class ListViewModel;
class MessageBox;

// "Copy Results To Clipboard": puts the ticked results on the clipboard as
// aligned text (ListClipboardCopy), then tells the user how to paste them.
// Each step runs as a statement of the caller's error trap.
class ClipboardCopy {
public:
    ClipboardCopy(const ListViewModel& results, Clipboard& clipboard, EventPump& events, MessageBox& messages,
                  QString appTitle);

    void run(ErrorTrap& trap);

private:
    const ListViewModel& results_;
    Clipboard& clipboard_;
    EventPump& events_;
    MessageBox& messages_;
    QString appTitle_;
};

} // namespace hv
