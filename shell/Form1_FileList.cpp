// The file-list commands and the events of ListView1: "Add PSD File(s)",
// "Add All PSD File(s) In Folder", "Clear List", "Load Sample/Example Files",
// removing rows and dropping files. Row dragging is RowDrag's.
#include "Form1.h"

#include "core/ErrorTrap.h"
#include "filelist/AddAllInFolder.h"
#include "filelist/AddFiles.h"
#include "filelist/FileDrop.h"
#include "filelist/FileDropTarget.h"
#include "filelist/FileListEditing.h"
#include "filelist/FolderScan.h"
#include "filelist/RowDrag.h"
#include "filelist/SampleFiles.h"
#include "platform/FileSystem.h"
#include "widgets/ListView.h"

#include <QLineEdit>

namespace hv {

FolderScan Form1::folderScan() {
    return FolderScan(platform_.fileSystem, platform_.events, platform_.messages, ListView1->items());
}

void Form1::connectListEvents() {
    rowDrag_ = new RowDrag(*ListView1, companionPath(QStringLiteral("drag.ico")));
    // The list's own drag-and-drop mode stays off; its viewport takes drops.
    new FileDropTarget(*ListView1->viewport(), [this](const QMimeData* dropped) { ListView1_OLEDragDrop(dropped); });
}

void Form1::PushButton1_Click() {
    ErrorTrap trap = trapOf("PushButton1_Click");
    AddFiles(platform_.fileDialogs, platform_.fileSystem.pathStyle(), ListView1->items()).run(trap);
}

void Form1::PushButton6_Click() {
    ErrorTrap trap = trapOf("PushButton6_Click");
    FolderScan scan = folderScan();
    AddAllInFolder(platform_.input, platform_.folderBrowser, platform_.settings, scan, *this, appTitle_).run(trap);
}

void Form1::PushButton5_Click() {
    ErrorTrap trap = trapOf("PushButton5_Click");
    FileListEditor(ListView1->items(), *this).clearList(trap);
}

void Form1::PushButton9_Click() {
    ErrorTrap trap = trapOf("PushButton9_Click");
    FolderScan scan = folderScan();
    SampleFiles(platform_.fileSystem, scan, platform_.messages, platform_.desktop, ListView1->items(), appFolder_,
                appTitle_)
        .run(trap, [this](const QString& text) { Text1->setText(text); });
}

void Form1::ListView1_KeyDown(int keyCode) {
    if (keyCode != Qt::Key_Delete) return;
    withoutErrorTrap([&] { FileListEditor(ListView1->items(), *this).removeRow(ListView1->selectedIndex()); });
}

void Form1::ListView1_DblClick() {
    withoutErrorTrap([&] { FileListEditor(ListView1->items(), *this).removeRow(ListView1->selectedIndex()); });
}

void Form1::ListView1_OLEDragDrop(const QMimeData* dropped) {
    withoutErrorTrap([&] {
        FolderScan scan = folderScan();
        FileDrop(platform_.fileSystem, scan, ListView1->items()).drop(dropped);
    });
}

} // namespace hv
