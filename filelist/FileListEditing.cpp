#include "FileListEditing.h"

#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/WindowPointer.h"

namespace hv {

namespace {

// Statement number of "Clear List".
namespace line {
constexpr int kClear = 100;
} // namespace line

} // namespace

FileListEditor::FileListEditor(ListViewModel& fileList, const WindowPointer& window)
    : fileList_(fileList),
      window_(window) {}

void FileListEditor::removeRow(int selected) {
    if (window_.busy()) return;
    if (fileList_.itemCount() == 0) return;
    if (selected == 0) return;
    fileList_.removeItem(selected);
}

void FileListEditor::clearList(ErrorTrap& trap) {
    trap(line::kClear, [&] {
        if (window_.busy()) return;
        fileList_.clearItems();
    });
}

} // namespace hv
