#pragma once

namespace hv {

class ErrorTrap;
class ListViewModel;
class WindowPointer;

// Taking rows out of the file list. Nothing is removed while the window is
// busy (the hourglass shows).
class FileListEditor {
public:
    FileListEditor(ListViewModel& fileList, const WindowPointer& window);
    // Delete key and double-click: removes the row at `selected`, the
    // selected row's position (0 when no row is selected).
    void removeRow(int selected);
    // "Clear List": removes every row, as a statement of the caller's trap.
    void clearList(ErrorTrap& trap);

private:
    ListViewModel& fileList_;
    const WindowPointer& window_;
};

} // namespace hv
