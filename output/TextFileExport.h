#pragma once

namespace hv {

class ErrorTrap;
class EventPump;
class FileDialogs;
class ListViewModel;
class MessageBox;
class ProgressDisplay;
class WindowPointer;

// The save dialog's filter of "Save Results As Text File".
inline constexpr const char* kTextFileFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|";

// "Save Results As Text File": asks for a file name (an empty name, no
// overwrite question) and writes the ticked results into it, column-aligned,
// under the hourglass (ListTextExport). Each step runs as a statement of the
// caller's error trap.
class TextFileExport {
public:
    TextFileExport(const ListViewModel& results, FileDialogs& dialogs, EventPump& events, MessageBox& messages,
                   ProgressDisplay& progress, WindowPointer& pointer);

    void run(ErrorTrap& trap);

private:
    const ListViewModel& results_;
    FileDialogs& dialogs_;
    EventPump& events_;
    MessageBox& messages_;
    ProgressDisplay& progress_;
    WindowPointer& pointer_;
};

} // namespace hv
